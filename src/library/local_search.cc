#include "library/local_search.h"

#include "library/record_listing.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/text.h"

namespace {

// Lets the window's messages run, then reads the keyword again: the box can change only
// while they do.
class KeywordPump final : public MessagePump {
 public:
  explicit KeywordPump(WindowPort& window) : window_(window) { read(); }
  void run_pending_messages() override {
    window_.run_pending_messages();
    read();
  }
  const std::string& keyword() const { return keyword_; }

 private:
  void read() { keyword_ = window_.control_text(Control::编辑框1); }

  WindowPort& window_;
  std::string keyword_;
};

}  // namespace

bool title_matches_keyword(const std::string& title, const std::string& keyword) {
  return find_text(title, keyword, 1, false) != -1;
}

void search_library(WindowPort& window, const LibraryContext& context) {
  store_open(context.store_path);
  window.delete_all_rows();
  KeywordPump pump(window);
  const ReadStop stop = list_records(
      window, pump,
      [&] { return title_matches_keyword(read_field(kFieldTitle).text(), pump.keyword()); },
      context.pacing);
  store_close();
  say_if_short(window, stop);
}
