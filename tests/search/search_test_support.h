#ifndef MOYAN_TESTS_SEARCH_SEARCH_TEST_SUPPORT_H_
#define MOYAN_TESTS_SEARCH_SEARCH_TEST_SUPPORT_H_

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "fake_window.h"
#include "search/program_folder.h"

// The program folder kept in memory: the library is a real file in a test's folder, the
// delivered files are recorded by name.
class FakeFolder : public ProgramFolder {
 public:
  explicit FakeFolder(std::string dir) : dir_(std::move(dir)) {}
  std::string library_path() override { return dir_ + "/Code.edb"; }
  std::string file_path(const std::string& name) override { return dir_ + "\\" + name; }
  // As a folder whose full path is as long as set_folder_units says.
  bool takes_file_name(const std::string& name) override;
  bool write_file(const std::string& name, const ByteSet& bytes) override;
  void set_folder_units(size_t units) { folder_units_ = units; }

  // Each write in order, and the latest bytes per name.
  std::vector<std::string> written_names() const;
  std::map<std::string, ByteSet> files() const;
  void fail_writes() { fail_ = true; }

 private:
  const std::string dir_;
  mutable std::mutex mutex_;
  std::vector<std::string> written_;
  std::map<std::string, ByteSet> files_;
  bool fail_ = false;
  size_t folder_units_ = 16;  // as "C:\\Programs\\墨砚工坊"
};

// An entry of the library at `library` with a title, an address and maybe an attachment.
bool add_library_entry(const std::string& library, const std::string& title,
                       const std::string& address, const ByteSet& attachment = ByteSet());
// The attachment the library at `library` holds for a title; empty when it holds none.
ByteSet attachment_in_library(const std::string& library, const std::string& title);

// A fake window whose message boxes get the given answers in turn (then OK).
class AnsweringWindow : public FakeWindow {
 public:
  void answer_in_turn(std::vector<int> answers);
  int message_box(const std::string& text, unsigned flags, const std::string& caption) override;
  // "start_process ..." entries of the log.
  std::vector<std::string> processes() const;

 private:
  std::mutex answers_mutex_;
  std::deque<int> answers_;
};

#endif  // MOYAN_TESTS_SEARCH_SEARCH_TEST_SUPPORT_H_
