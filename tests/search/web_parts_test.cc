// The web search and delivery over the program's own web parts (downloads over WinHttp,
// files in a folder on disk) against the stand-in web under Wine, with a fake window: what
// the stand-in's hostile answers leave in the library, in the folder and in the list.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/web_parts.h"
#include "scratch_folder.h"
#include "search/delivery.h"
#include "library/file_names.h"
#include "search/web_search.h"
#include "search_test_support.h"
#include "standin_client.h"
#include "store/store.h"
#include "win32/code_page.h"

namespace {

constexpr int kWaitMs = 30000;

class WebPartsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::port(), 0) << "no stand-in web";
    host_ = "127.0.0.1:" + std::to_string(standin::port());
    ASSERT_TRUE(scratch_.library_made().is_ok()) << scratch_.library_made().text();
  }
  void TearDown() override { store_close_all(); }

  WebServices services(const std::string& engine = "/") {
    return {{"http://" + host_ + engine, host_, "http://" + host_ + "/"},
            &fetcher_,
            &scratch_.folder()};
  }
  std::string library() { return scratch_.folder().library_path(); }
  // The files delivered beside the library.
  std::vector<std::wstring> delivered_files() {
    std::vector<std::wstring> names;
    for (const std::wstring& name : scratch_.files()) {
      if (name != L"Code.edb" && name != L"Code.EDT") names.push_back(name);
    }
    return names;
  }

  std::string host_;
  ScratchFolder scratch_{L"moyan_web_parts_"};
  WinHttpFetcher fetcher_;
};

TEST_F(WebPartsTest, OnlyAPackageIsEverKeptOrWritten) {
  const std::string package = standin::plain_get(standin::port(), "/files/101.rar").body;
  ASSERT_FALSE(package.empty());
  const struct {
    int id;
    const char* title;
    bool delivered;
  } cases[] = {
      {110, "问号链接的源码", false},    // "?": the site's home page
      {111, "井号链接的源码", false},    // "#": the same
      {112, "点斜杠链接的源码", false},  // "./": the same
      {113, "包已丢失的源码", false},    // 404 with its error page
      {114, "包出错的源码", false},      // 500 with a whole package as its body
      {115, "包转圈的源码", false},      // redirected to itself for ever
      {116, "包搬过家的源码", true},     // redirected twice to the package
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const std::string detail = "http://" + host_ + "/soft/" + std::to_string(c.id) + ".html";
    ASSERT_TRUE(add_library_entry(library(), c.title, detail));
    AnsweringWindow window;
    window.append_numbered_row({c.title, "", "", "", detail});
    window.answer_in_turn({kAnswerYes, kAnswerYes});
    deliver_entry(window, services(), 0);
    ASSERT_EQ(window.boxes().size(), 2u);
    if (c.delivered) {
      EXPECT_EQ(attachment_in_library(library(), c.title).str(), package);
      EXPECT_EQ(delivered_files(), std::vector<std::wstring>{win32::widen(c.title) + L".rar"});
      EXPECT_EQ(window.processes().size(), 1u);
      continue;
    }
    EXPECT_EQ(window.boxes()[1].text, kDownloadFailedText);
    EXPECT_TRUE(attachment_in_library(library(), c.title).empty()) << "kept as the package";
    EXPECT_TRUE(delivered_files().empty()) << "written as a file";
    EXPECT_TRUE(window.processes().empty());
  }
}

TEST_F(WebPartsTest, ANameLongerThanTheFolderTakesIsRefusedWhole) {
  const size_t folder_units = scratch_.path().size();
  ASSERT_LT(folder_units, 200u);
  // ".rar" and the folder's "\" with it: the longest title whose path fits, one more, and
  // a name past what any folder takes.
  const std::string fits(kMaxPathUnits - folder_units - 1 - 4, 'f');
  const std::string titles[] = {fits, fits + "g", std::string(252, 'h')};
  for (const std::string& title : titles) {
    ASSERT_TRUE(add_library_entry(library(), title, "http://" + host_ + "/soft/101.html",
                                  ByteSet(std::string("package"))));
  }
  AnsweringWindow window;
  for (const std::string& title : titles) {
    window.append_numbered_row({title, "", "", "", "http://" + host_ + "/soft/101.html"});
  }
  for (int row = 0; row < 3; ++row) deliver_entry(window, services(), row);

  EXPECT_EQ(delivered_files(), std::vector<std::wstring>{win32::widen(fits) + L".rar"})
      << "written whole, under the title's own name";
  EXPECT_EQ(window.processes().size(), 1u) << "Explorer pointed at a file never written";
  ASSERT_EQ(window.boxes().size(), 2u);
  for (const FakeWindow::Box& box : window.boxes()) {
    EXPECT_EQ(box.text, kTitleNotAFileNameText);
  }
}

TEST_F(WebPartsTest, AtMostAHundredHitsAreTakenFromAResultPage) {
  // Result pages of 250 hits each: "批量500" counts 500 (six pages), page 1 holds hits 1 to
  // 250, page 2 hits 251 to 500, the others none.
  AnsweringWindow window;
  WebSearch web(services("/fault/many,per=250/"), "T");
  web.start_web_search(window, "批量500");
  ASSERT_TRUE(web.progress().wait_until_idle(kWaitMs)) << "the search did not end";
  std::vector<int> numbers;
  for (const auto& row : window.rows()) {
    const std::string& title = row[1];  // "批量源码第N号"
    numbers.push_back(std::stoi(title.substr(std::string("批量源码第").size())));
  }
  std::sort(numbers.begin(), numbers.end());
  ASSERT_EQ(numbers.size(), 200u);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(numbers[i], i + 1);
    EXPECT_EQ(numbers[100 + i], 251 + i);
  }
}

}  // namespace
