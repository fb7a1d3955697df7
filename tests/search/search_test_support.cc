#include "search_test_support.h"

#include "library/file_names.h"
#include "store/source_record.h"
#include "store/store.h"

bool FakeFolder::takes_file_name(const std::string& name) {
  return fits_in_folder(name, folder_units_);
}

bool FakeFolder::write_file(const std::string& name, const ByteSet& bytes) {
  std::lock_guard<std::mutex> hold(mutex_);
  written_.push_back(name);
  if (fail_ || !takes_file_name(name)) return false;
  files_[name] = bytes;
  return true;
}

std::vector<std::string> FakeFolder::written_names() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return written_;
}

std::map<std::string, ByteSet> FakeFolder::files() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return files_;
}

bool add_library_entry(const std::string& library, const std::string& title,
                       const std::string& address, const ByteSet& attachment) {
  if (!store_open(library)) return false;
  std::vector<FieldAssignment> fields = {{kFieldTitle, title}, {kFieldAddress, address}};
  if (!attachment.empty()) fields.emplace_back(kFieldAttachment, attachment);
  const bool added = append_record(fields).is_ok();
  store_close();
  return added;
}

ByteSet attachment_in_library(const std::string& library, const std::string& title) {
  ByteSet bytes;
  if (!store_open(library)) return bytes;
  go_first();
  if (find_record([&] { return read_field(kFieldTitle).text() == title; })) {
    bytes = read_field(kFieldAttachment).bytes();
  }
  store_close();
  return bytes;
}

void AnsweringWindow::answer_in_turn(std::vector<int> answers) {
  std::lock_guard<std::mutex> hold(answers_mutex_);
  answers_.assign(answers.begin(), answers.end());
}

int AnsweringWindow::message_box(const std::string& text, unsigned flags,
                                 const std::string& caption) {
  FakeWindow::message_box(text, flags, caption);
  std::lock_guard<std::mutex> hold(answers_mutex_);
  if (answers_.empty()) return kAnswerOk;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> AnsweringWindow::processes() const {
  std::vector<std::string> started;
  for (const std::string& entry : log()) {
    if (entry.rfind("start_process ", 0) == 0) started.push_back(entry.substr(14));
  }
  return started;
}
