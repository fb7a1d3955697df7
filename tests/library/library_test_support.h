#ifndef MOYAN_TESTS_LIBRARY_LIBRARY_TEST_SUPPORT_H_
#define MOYAN_TESTS_LIBRARY_LIBRARY_TEST_SUPPORT_H_

#include <string>
#include <vector>

#include "fake_local_files.h"
#include "fake_window.h"
#include "library/library_context.h"
#include "store_test_support.h"

// An entry as the tests write and read it (附件 aside).
struct Entry {
  Entry(std::string t = "", std::string c = "", std::string s = "", std::string r = "",
        std::string u = "", std::string a = "")
      : title(std::move(t)),
        category(std::move(c)),
        size(std::move(s)),
        rating(std::move(r)),
        time(std::move(u)),
        address(std::move(a)) {}

  std::string title;
  std::string category;
  std::string size;
  std::string rating;
  std::string time;
  std::string address;

  friend bool operator==(const Entry&, const Entry&) = default;
};
std::ostream& operator<<(std::ostream& out, const Entry& entry);

// A fresh library per test, a fake window and fake disks, and the handlers' context over
// them. Handlers let messages run at every step (pacing 0), as often as they may.
class LibraryTest : public StoreTest {
 protected:
  void SetUp() override;

  // Appends entries to the library (opened and closed around it).
  void add_entries(const std::vector<Entry>& entries);
  void add_titles(const std::vector<std::string>& titles, const std::string& category = "");
  // Every entry of the library, in store order.
  std::vector<Entry> entries();
  // The 附件 of the first entry with that title, unpacked; "(none)" when there is none.
  std::string attachment_of(const std::string& title);
  // Column `column` of every row of the fake list.
  std::vector<std::string> column(int column) const;

  std::string lib_;
  FakeWindow window_;
  FakeLocalFiles files_;
  std::string pending_file_name_;
  LibraryContext context_;
};

#endif  // MOYAN_TESTS_LIBRARY_LIBRARY_TEST_SUPPORT_H_
