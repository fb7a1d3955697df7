// The search button: the keyword's check, the choice of area, and where each search goes.
#include "search/run_search.h"

#include <gtest/gtest.h>

#include "library_test_support.h"
#include "store/store.h"

namespace {

class RunSearchTest : public LibraryTest {
 protected:
  void press(const std::string& keyword, bool local, bool web) {
    window_.set_control_text(Control::编辑框1, keyword);
    window_.set_checked(Control::选择框1, local);
    window_.set_checked(Control::选择框2, web);
    run_search(window_, context_, [this](const std::string& k) { web_keywords_.push_back(k); });
  }
  std::vector<std::string> web_keywords_;
};

TEST_F(RunSearchTest, AKeywordOfSpacesOnlyIsAskedForAgain) {
  for (const char* keyword : {"", " ", "\xA1\xA1", " \xA1\xA1  "}) {  // A1 A1: full-width blank
    FakeWindow window;
    window.set_control_text(Control::编辑框1, keyword);
    window.set_checked(Control::选择框2, true);
    window.set_current_page(kSearchPage);
    run_search(window, context_, [this](const std::string& k) { web_keywords_.push_back(k); });
    ASSERT_EQ(window.boxes().size(), 1u) << "\"" << keyword << "\"";
    EXPECT_EQ(window.boxes()[0].text, "请重新输入您要搜索的内容");
    EXPECT_EQ(window.boxes()[0].caption, "提示");
    EXPECT_EQ(window.boxes()[0].flags, 0x40u);
    EXPECT_EQ(window.current_page(), kSearchPage) << "nothing else happens";
  }
  EXPECT_TRUE(web_keywords_.empty());
}

TEST_F(RunSearchTest, TheWebGetsTheTrimmedKeywordAndTheListStays) {
  window_.append_numbered_row({"shown before", "", "", "", ""});
  window_.set_current_page(kSearchPage);
  press("\xA1\xA1 易 语言  ", false, true);
  EXPECT_EQ(web_keywords_, std::vector<std::string>{"易 语言"}) << "blanks inside remain";
  EXPECT_EQ(window_.current_page(), kLibraryPage);
  EXPECT_EQ(window_.row_count(), 1) << "the web's rows go below what the list shows";
  EXPECT_TRUE(window_.boxes().empty());
}

TEST_F(RunSearchTest, TheWebBoxIsTestedFirst) {
  add_titles({"源码"});
  press("源码", true, true);
  EXPECT_EQ(web_keywords_, std::vector<std::string>{"源码"});
  EXPECT_EQ(window_.row_count(), 0) << "no local search";
}

TEST_F(RunSearchTest, TheLibraryIsSearchedForTheKeywordAsTyped) {
  add_titles({"彩色 图像处理", "图像处理"});
  window_.set_current_page(kSearchPage);
  press(" 图像", true, false);
  EXPECT_EQ(column(1), std::vector<std::string>{"彩色 图像处理"});
  EXPECT_EQ(window_.current_page(), kLibraryPage);
  EXPECT_TRUE(web_keywords_.empty());
}

TEST_F(RunSearchTest, WithNeitherAreaTheAreaIsAskedFor) {
  window_.set_current_page(kSearchPage);
  press("源码", false, false);
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_EQ(window_.boxes()[0].text, "请选择要搜索的区域");
  EXPECT_EQ(window_.boxes()[0].caption, "提示");
  EXPECT_EQ(window_.boxes()[0].flags, 0x40u);
  EXPECT_EQ(window_.current_page(), kSearchPage);
}

TEST_F(RunSearchTest, WithoutAWebSearchTheWebBranchDoesNothing) {
  window_.set_control_text(Control::编辑框1, "x");
  window_.set_checked(Control::选择框2, true);
  run_search(window_, context_, StartWebSearch());
  EXPECT_EQ(window_.current_page(), kLibraryPage);
  EXPECT_TRUE(window_.boxes().empty());
}

}  // namespace
