// The local search: which titles a keyword finds, and where a search starts.
#include "library/local_search.h"

#include <gtest/gtest.h>

#include "library/library_listing.h"
#include "library_test_support.h"
#include "store/store.h"

namespace {

class LocalSearchTest : public LibraryTest {
 protected:
  std::vector<std::string> search(const std::string& keyword) {
    window_.set_control_text(Control::编辑框1, keyword);
    search_library(window_, context_);
    return column(1);
  }
};

using Titles = std::vector<std::string>;

TEST(TitleMatchesKeyword, AsTypedCaseCountingWholeCharacters) {
  struct Case {
    const char* title;
    const char* keyword;
    bool found;
  };
  const Case cases[] = {
      {"网络源码", "源码", true},
      {"源码大全", "源码", true},
      {"代码", "源码", false},
      {"ABC", "abc", false},
      {"abc", "abc", true},
      {"彩色 图像处理", " 图像", true},  // the blank is part of the keyword
      {"图像处理", " 图像", false},
      {"x", "", true},  // an empty keyword finds every title that isn't empty
      {"", "", false},
      // "\x81\x5C" is one character: its second byte is not the backslash it would be.
      {"a\x81\x5C"
       "b",
       "\\", false},
      {"a\\b", "\\", true},
      {"\xB1\xEA\xCC\xE2", "\xEA\xCC", false},  // across two characters' halves
  };
  for (const Case& c : cases) {
    EXPECT_EQ(title_matches_keyword(c.title, c.keyword), c.found)
        << "\"" << c.keyword << "\" in \"" << c.title << "\"";
  }
}

TEST_F(LocalSearchTest, ListsMatchingTitlesInStoreOrder) {
  add_titles({"网络源码", "代码", "源码大全", "彩色 图像处理", "图像处理"}, "系统工具");
  add_titles({"采集源码"}, "");  // harvested: no category, found all the same
  EXPECT_EQ(search("源码"), (Titles{"网络源码", "源码大全", "采集源码"}));
  EXPECT_EQ(search(" 图像"), (Titles{"彩色 图像处理"}));
  EXPECT_EQ(search("ABC"), Titles{});
  EXPECT_EQ(record_number(), 0) << "the search closes the library";
}

TEST_F(LocalSearchTest, AKeywordFoundInEveryTitleListsTheWholeLibrary) {
  add_titles({"a1", "a2", "a3", "a4"});
  search("a");
  EXPECT_EQ(column(0), (Titles{"1", "2", "3", "4"}));
  EXPECT_EQ(column(1), (Titles{"a1", "a2", "a3", "a4"}));
}

TEST_F(LocalSearchTest, AMissingLibraryClearsTheList) {
  window_.insert_row();
  context_.store_path = path("Missing.edb");
  EXPECT_EQ(search("a"), Titles{});
}

TEST_F(LocalSearchTest, StartsWhereARunningListingLeftTheCursor) {
  add_titles({"x1", "s2", "x3", "x4"}, "系统工具");
  // The search runs while the listing's first row lets messages run: the library is
  // open with its cursor on that row, and the search (no go_first) starts there.
  window_.post_event([&] { search("x"); });
  list_category(window_, context_, "系统工具");
  EXPECT_EQ(column(1), (Titles{"x1", "x3", "x4"}));

  window_.post_event([&] { search("x"); }, 1);  // after the second row ("s2")
  list_category(window_, context_, "系统工具");
  EXPECT_EQ(column(1), (Titles{"x3", "x4"}));
}

TEST_F(LocalSearchTest, AnEditOfTheKeywordMeanwhileCountsForTheRecordsThatFollow) {
  add_titles({"ab1", "ab2", "b3", "ab4"});
  window_.post_event([&] { window_.set_control_text(Control::编辑框1, "b"); });
  EXPECT_EQ(search("a"), (Titles{"ab1", "ab2", "b3", "ab4"}));
}

}  // namespace
