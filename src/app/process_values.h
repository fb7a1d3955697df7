#ifndef MOYAN_APP_PROCESS_VALUES_H_
#define MOYAN_APP_PROCESS_VALUES_H_

#include <mutex>
#include <string>

// A text shared by the whole process. Each write replaces the earlier text; reads take a
// copy, so a worker that reads while the window's thread writes sees one whole value.
class SharedText {
 public:
  std::string get() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return text_;
  }
  void set(std::string text) {
    std::lock_guard<std::mutex> hold(mutex_);
    text_ = std::move(text);
  }
  bool empty() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return text_.empty();
  }
  // Frees the text's memory.
  void release() {
    std::lock_guard<std::mutex> hold(mutex_);
    std::string().swap(text_);
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

// The file name last chosen for the entry form (window's thread only).
extern SharedText pending_file_name;
// The current web search's result-page address up to its page offset ("...&pn=").
extern SharedText search_page_base;

// Frees both texts; run once at the process's normal end.
void release_globals();

#endif  // MOYAN_APP_PROCESS_VALUES_H_
