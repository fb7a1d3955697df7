// Listing a category, moving entries, and the listing's way of sharing the window's thread.
#include <gtest/gtest.h>

#include <thread>

#include "faulty_files.h"
#include "library/library_listing.h"
#include "library/library_texts.h"
#include "library/local_search.h"
#include "library_test_support.h"
#include "locking_process.h"
#include "store/source_record.h"
#include "store/store.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class ListingTest : public LibraryTest {};

TEST_F(ListingTest, MatchesAreListedInStoreOrderNumberedFromOne) {
  // Records 2, 5 and 9 of 9 are of the category.
  std::vector<Entry> all;
  for (int i = 1; i <= 9; ++i) {
    bool match = i == 2 || i == 5 || i == 9;
    all.push_back({"t" + std::to_string(i), match ? "数据库类" : "网络相关",
                   std::to_string(i) + " KB", "★★★☆☆", "2013-10-25 9:5:7",
                   "C:\\src\\t" + std::to_string(i) + ".e"});
  }
  add_entries(all);
  window_.set_current_page(kManagementPage);
  window_.insert_row();  // rows of an earlier listing go
  list_category(window_, context_, "数据库类");
  const Rows expected = {
      {"1", "t2", "2 KB", "★★★☆☆", "2013-10-25 9:5:7", "C:\\src\\t2.e"},
      {"2", "t5", "5 KB", "★★★☆☆", "2013-10-25 9:5:7", "C:\\src\\t5.e"},
      {"3", "t9", "9 KB", "★★★☆☆", "2013-10-25 9:5:7", "C:\\src\\t9.e"},
  };
  EXPECT_EQ(window_.rows(), expected);
  EXPECT_EQ(window_.current_page(), kLibraryPage);
  EXPECT_EQ(record_number(), 0) << "the listing closes the library";
}

TEST_F(ListingTest, WhichEntriesACategoryLists) {
  add_entries({{"exact", "系统工具"},
               {"trailing blank", "系统工具 "},
               {"other", "图形图像"},
               {"harvested", ""},
               {"last", "系统工具"}});
  struct Case {
    const char* category;
    std::vector<std::string> titles;
  };
  const Case cases[] = {
      {"系统工具", {"exact", "last"}},  // the last record matches too
      {"图形图像", {"other"}},
      {"多媒体类", {}},  // a category with no entries
  };
  for (const Case& c : cases) {
    list_category(window_, context_, c.category);
    EXPECT_EQ(column(1), c.titles) << c.category;
  }
}

TEST_F(ListingTest, AMissingLibraryListsNothing) {
  window_.insert_row();
  context_.store_path = path("Missing.edb");
  list_category(window_, context_, "系统工具");
  EXPECT_EQ(window_.row_count(), 0) << "the list is cleared all the same";
}

TEST_F(ListingTest, ManyRecordsAcrossTheScansPieces) {
  // Enough records for the scan to read several pieces of growing size.
  std::vector<std::string> titles;
  for (int i = 0; i < 700; ++i) titles.push_back("t" + std::to_string(i));
  add_titles(titles);
  ASSERT_TRUE(store_open(lib_));
  for (int i = 0; i < 700; i += 3) {
    ASSERT_TRUE(go_to_record(i + 1));
    ASSERT_TRUE(write_field(kFieldCategory, std::string("模块控件")));
  }
  store_close();
  list_category(window_, context_, "模块控件");
  ASSERT_EQ(window_.row_count(), 234);
  for (int r = 0; r < 234; ++r) {
    EXPECT_EQ(window_.cell_text(r, 0), std::to_string(r + 1));
    EXPECT_EQ(window_.cell_text(r, 1), "t" + std::to_string(3 * r));
  }
}

TEST_F(ListingTest, ARecordThatCantBeReadEndsTheListingThereAndItSaysSo) {
  // 100 entries, every third of the category, read in pieces of growing size; the bytes of
  // one record (or of the record count) can't be read.
  std::vector<Entry> all;
  for (int i = 1; i <= 100; ++i) {
    all.push_back({"t" + std::to_string(i), i % 3 == 0 ? "系统工具" : "图形图像"});
  }
  add_entries(all);
  FaultyFiles files;
  struct Case {
    int bad;      // the record that can't be read; 0: the record count; -1: none
    bool search;  // the local search for "t" rather than the category listing
    std::string last_row;
    int rows;
  };
  const Case cases[] = {
      {-1, false, "t99", 33},  {40, false, "t39", 13}, {1, false, "", 0},
      {100, false, "t99", 33}, {0, false, "", 0},      {40, true, "t39", 39},
  };
  for (const Case& c : cases) {
    const std::string where =
        (c.search ? "search, record " : "listing, record ") + std::to_string(c.bad);
    FakeWindow window;
    window.set_control_text(Control::编辑框1, "t");
    // The count is read after opening, so that one is failed once the library is open
    // (the listing works on the library it finds open).
    if (c.bad == 0) {
      ASSERT_TRUE(store_open(lib_));
    }
    files.fail_reads_of(lib_, c.bad == 0 ? 16 : 620 + 604 * (c.bad - 1) + 10);
    if (c.search) {
      search_library(window, context_);
    } else {
      list_category(window, context_, "系统工具");
    }
    files.fail_reads_of("", 0);
    ASSERT_EQ(window.row_count(), c.rows) << where;
    if (c.rows > 0) {
      EXPECT_EQ(window.cell_text(c.rows - 1, 1), c.last_row) << where;
    }
    const std::vector<FakeWindow::Box> boxes = window.boxes();
    ASSERT_EQ(boxes.size(), c.bad < 0 ? 0u : 1u) << where;
    if (c.bad >= 0) {
      EXPECT_EQ(boxes[0].text.rfind(kListingShort, 0), 0u) << where << ": " << boxes[0].text;
      EXPECT_EQ(boxes[0].flags, kBoxIconWarning) << where;
    }
    EXPECT_EQ(record_number(), 0) << where << ": the library is closed";
  }
}

TEST_F(ListingTest, ARecordAnotherProgramHoldsEndsTheListingThereWithEveryRowBefore) {
  // The scan reads 16 records at once, then 32, 64, 128, 256: record 300 lies in the fifth
  // piece.
  std::vector<std::string> titles;
  for (int i = 1; i <= 1000; ++i) titles.push_back("t" + std::to_string(i));
  add_titles(titles, "系统工具");
  // Another program takes the record's lock while the library is open here (as it may at
  // any time; the listing works on the library it finds open) and keeps it past the wait.
  ASSERT_TRUE(store_open(lib_));
  LockingProcess other(lib_, record_lock_byte(lib_, 300));
  ASSERT_TRUE(other.held());
  list_category(window_, context_, "系统工具");
  ASSERT_EQ(window_.row_count(), 299);
  EXPECT_EQ(window_.cell_text(298, 1), "t299");
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_NE(window_.boxes()[0].text.find("record 300 "), std::string::npos)
      << window_.boxes()[0].text;
}

TEST_F(ListingTest, RowsAreHandedOverAndMessagesRunAsThePacingSays) {
  add_titles({"a", "b", "c", "d"}, "行业控件");
  // At every row: four times, each after its row is on the list.
  std::vector<int> rows_seen;
  for (int i = 0; i < 4; ++i) {
    window_.post_event([&] { rows_seen.push_back(window_.row_count()); }, i);
  }
  list_category(window_, context_, "行业控件");
  EXPECT_EQ(rows_seen, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(window_.pumps(), 4);

  // Rarely: only the first row is handed over at once (it shows without delay); the rest
  // go in one step at the end.
  FakeWindow window;
  context_.pacing.interval_ms = 60 * 60 * 1000;
  int rows_at_first_pump = -1;
  window.post_event([&] { rows_at_first_pump = window.row_count(); });
  list_category(window, context_, "行业控件");
  EXPECT_EQ(window.pumps(), 1);
  EXPECT_EQ(rows_at_first_pump, 1);
  EXPECT_EQ(window.row_count(), 4);
}

TEST_F(ListingTest, AnotherListingInTheMiddleEndsThisOne) {
  add_titles({"s1", "s2", "s3"}, "系统工具");
  add_titles({"g1", "g2"}, "图形图像");
  // After the first row, another button is pressed: its listing shares the open library,
  // replaces the rows and closes the library, which ends the first listing.
  window_.post_event([&] { list_category(window_, context_, "图形图像"); });
  list_category(window_, context_, "系统工具");
  EXPECT_EQ(column(1), (std::vector<std::string>{"g1", "g2"}));
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(record_number(), 0);
}

TEST_F(ListingTest, AMoveInTheMiddleEndsTheListingAfterItsRow) {
  add_titles({"s1", "s2", "s3"}, "系统工具");
  window_.post_event([&] {
    window_.select_row(0);
    move_entry_to_category(window_, context_, "数据库类");
  });
  list_category(window_, context_, "系统工具");
  EXPECT_EQ(window_.row_count(), 0) << "the moved row left, and no row followed it";
  EXPECT_EQ(entries()[0].category, "数据库类");
}

TEST_F(ListingTest, EntriesAppendedMeanwhileByAnotherOpenerAreListed) {
  add_titles({"a1", "a2"}, "多媒体类");
  // While the first row's messages run, another thread (a harvesting worker, say) appends
  // two entries, one of the category.
  window_.post_event([&] {
    std::thread worker([&] {
      ASSERT_TRUE(store_open(lib_));
      ASSERT_TRUE(append_record(
          {{kFieldTitle, std::string("late")}, {kFieldCategory, std::string("多媒体类")}}));
      ASSERT_TRUE(append_record({{kFieldTitle, std::string("other")}}));
      store_close();
    });
    worker.join();
  });
  list_category(window_, context_, "多媒体类");
  EXPECT_EQ(column(1), (std::vector<std::string>{"a1", "a2", "late"}));
}

TEST_F(ListingTest, MovingChangesTheFirstEntryOfTheRowsTitle) {
  add_entries({{"same", "系统工具", "1 KB"}, {"other", "系统工具"}, {"same", "系统工具", "2 KB"}});
  list_category(window_, context_, "系统工具");
  int rows = 3;
  for (int row : {2, 0}) {  // the second "same" row, then the first
    window_.select_row(row);
    move_entry_to_category(window_, context_, "游戏软件");
    EXPECT_EQ(window_.row_count(), --rows) << "the row leaves the list";
    EXPECT_EQ(record_number(), 0);
  }
  EXPECT_EQ(column(1), std::vector<std::string>{"other"});
  const std::vector<Entry> all = entries();
  EXPECT_EQ(all[0].category, "游戏软件") << "the first entry of that title is moved";
  EXPECT_EQ(all[1].category, "系统工具");
  EXPECT_EQ(all[2].category, "系统工具") << "the second entry of that title stays";
}

TEST_F(ListingTest, MovingWithoutASelectedRow) {
  add_titles({"a", "b"}, "系统工具");
  list_category(window_, context_, "系统工具");
  move_entry_to_category(window_, context_, "图形图像");
  EXPECT_EQ(window_.row_count(), 2) << "no row is removed";
  EXPECT_EQ(entries()[0].category, "系统工具") << "nothing is written without an empty title";

  // An entry with an empty title is the one an empty title names.
  add_titles({""}, "系统工具");
  window_.select_row(-1);
  move_entry_to_category(window_, context_, "图形图像");
  EXPECT_EQ(entries()[2].category, "图形图像");
}

TEST_F(ListingTest, MovingWithAMissingLibraryStillRemovesTheRow) {
  add_titles({"a", "b"}, "系统工具");
  list_category(window_, context_, "系统工具");
  window_.select_row(1);
  context_.store_path = path("Missing.edb");
  move_entry_to_category(window_, context_, "图形图像");
  EXPECT_EQ(column(1), (std::vector<std::string>{"a"}));
  EXPECT_EQ(entries()[1].category, "系统工具");
}

TEST_F(ListingTest, MovingARowWhoseTitleTheStoreHoldsCut) {
  // A harvested row shows the page's whole title; the library holds its first 256 bytes.
  const std::string title = std::string(250, 'x') + "长标题的源码";
  add_titles({title});
  window_.append_numbered_row({title, "", "", "", "http://source/1.html"});
  window_.select_row(0);
  move_entry_to_category(window_, context_, "模块控件");
  EXPECT_EQ(entries()[0].category, "模块控件");
}

TEST_F(ListingTest, AMoveThatCantLookTheEntryUpKeepsTheRowAndSaysSo) {
  add_titles({"a", "b", "c"}, "系统工具");
  list_category(window_, context_, "系统工具");
  FaultyFiles files;
  files.fail_reads_of(lib_, 620 + 604 * 1 + 10);  // record 2, "b"
  // "c" lies past the record that can't be read, where an earlier "c" might be.
  window_.select_row(2);
  move_entry_to_category(window_, context_, "数据库类");
  EXPECT_EQ(column(1), (std::vector<std::string>{"a", "b", "c"}));
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_EQ(window_.boxes()[0].text.rfind("无法在源码库中查找此源码，未移动：", 0), 0u)
      << window_.boxes()[0].text;
  // "a" lies before it.
  window_.select_row(0);
  move_entry_to_category(window_, context_, "数据库类");
  EXPECT_EQ(column(1), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(window_.boxes().size(), 1u);
  files.fail_reads_of("", 0);
  std::vector<std::string> categories;
  for (const Entry& e : entries()) categories.push_back(e.category);
  EXPECT_EQ(categories, (std::vector<std::string>{"数据库类", "系统工具", "系统工具"}));
}

TEST_F(ListingTest, TheListsMenuIsTheSourceManagementMenu) {
  show_entry_menu(window_);
  EXPECT_EQ(window_.log(), std::vector<std::string>{"pop_up_menu source"});
}

}  // namespace
