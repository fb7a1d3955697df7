#include "library_test_support.h"

#include <ostream>

#include "store/source_record.h"
#include "store/store.h"

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << "{" << e.title << "|" << e.category << "|" << e.size << "|" << e.rating << "|"
             << e.time << "|" << e.address << "}";
}

void LibraryTest::SetUp() {
  StoreTest::SetUp();
  lib_ = new_library();
  context_.store_path = lib_;
  context_.files = &files_;
  context_.pending_file_name = [this] { return pending_file_name_; };
  context_.set_pending_file_name = [this](const std::string& name) { pending_file_name_ = name; };
  context_.pacing.interval_ms = 0;
}

void LibraryTest::add_entries(const std::vector<Entry>& entries) {
  ASSERT_TRUE(store_open(lib_));
  for (const Entry& e : entries) {
    Status added = append_record({{kFieldTitle, e.title},
                                  {kFieldCategory, e.category},
                                  {kFieldSize, e.size},
                                  {kFieldRating, e.rating},
                                  {kFieldUpdateTime, e.time},
                                  {kFieldAddress, e.address}});
    ASSERT_TRUE(added) << added.text();
  }
  store_close();
}

void LibraryTest::add_titles(const std::vector<std::string>& titles, const std::string& category) {
  std::vector<Entry> entries;
  for (const std::string& title : titles) {
    entries.push_back({title, category, "1 KB", "", "", "C:\\" + title + ".e"});
  }
  add_entries(entries);
}

std::vector<Entry> LibraryTest::entries() {
  std::vector<Entry> all;
  EXPECT_TRUE(store_open(lib_));
  go_first();
  find_record([&] {
    all.push_back({read_field(kFieldTitle).text(), read_field(kFieldCategory).text(),
                   read_field(kFieldSize).text(), read_field(kFieldRating).text(),
                   read_field(kFieldUpdateTime).text(), read_field(kFieldAddress).text()});
    return false;
  });
  store_close();
  return all;
}

std::string LibraryTest::attachment_of(const std::string& title) {
  std::string content = "(none)";
  EXPECT_TRUE(store_open(lib_));
  go_first();
  if (find_record([&] { return read_field(kFieldTitle).text() == title; })) {
    content = unpack_attachment(read_field(kFieldAttachment).bytes()).str();
  }
  store_close();
  return content;
}

std::vector<std::string> LibraryTest::column(int column) const {
  std::vector<std::string> cells;
  for (const auto& row : window_.rows()) cells.push_back(row[static_cast<size_t>(column)]);
  return cells;
}
