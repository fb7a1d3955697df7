// A web search from the first query to the rows listed and the entries stored, against the
// site in memory and a real library file.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fake_site.h"
#include "faulty_files.h"
#include "locking_process.h"
#include "search/search_query.h"
#include "search/web_search.h"
#include "search_test_support.h"
#include "store/source_record.h"
#include "store/store.h"
#include "store_test_support.h"

namespace {

constexpr int kWaitMs = 20000;
const std::string kWindowTitle = "墨砚工坊V1.0";

struct StoredEntry {
  std::string title, category, size, rating, update_time, address;
  bool has_attachment;
};

class HarvestTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    folder_ = std::make_unique<FakeFolder>(dir_);
  }

  // The library beside the program.
  void make_library() { new_library("Code.edb"); }

  WebServices services() { return {FakeSite::sites(), &site_, folder_.get()}; }

  // A search run to its end, as the window's thread starts it.
  void search(WebSearch& web, WindowPort& window, const std::string& keyword) {
    web.start_web_search(window, keyword);
    ASSERT_TRUE(web.progress().wait_until_idle(kWaitMs)) << "the search did not end";
  }
  void search(const std::string& keyword, HarvestLimits limits = {}) {
    WebSearch web(services(), kWindowTitle, limits);
    search(web, window_, keyword);
  }

  std::vector<StoredEntry> library() {
    std::vector<StoredEntry> entries;
    if (!store_open(folder_->library_path())) return entries;
    for (int n = 1; n <= record_count(); ++n) {
      go_to_record(n);
      entries.push_back({read_field(kFieldTitle).text(), read_field(kFieldCategory).text(),
                         read_field(kFieldSize).text(), read_field(kFieldRating).text(),
                         read_field(kFieldUpdateTime).text(), read_field(kFieldAddress).text(),
                         !read_field(kFieldAttachment).bytes().empty()});
    }
    store_close();
    return entries;
  }
  std::vector<std::string> library_titles() {
    std::vector<std::string> titles;
    for (const StoredEntry& e : library()) titles.push_back(e.title);
    return titles;
  }
  std::vector<std::string> row_titles() {
    std::vector<std::string> titles;
    for (const auto& row : window_.rows()) titles.push_back(row[1]);
    return titles;
  }
  void add_to_library(const std::vector<std::string>& titles) {
    ASSERT_TRUE(store_open(folder_->library_path()));
    for (const std::string& title : titles) ASSERT_TRUE(append_record({{kFieldTitle, title}}));
    store_close();
  }

  FakeSite site_;
  std::unique_ptr<FakeFolder> folder_;
  AnsweringWindow window_;
};

TEST_F(HarvestTest, FillsTheListAndTheLibrary) {
  make_library();
  site_.add_entry({101, "超级列表框增强模块", std::string("★★★★"), "128 KB", "2012-03-15"});
  site_.add_entry({104, "Excel数据库操作类模块", std::string("★★"), "88 KB", "2012-01-09"});
  site_.add_entry({108, "无评级的模块源码", std::nullopt, "12 KB", "2010-01-01"});
  site_.add_entry({109, "空评级的模块源码", std::string(), "13 KB", "2010-01-02"});
  site_.add_entry({110, "不相干的源码", std::string("★"), "1 KB", "2010-01-03"});
  search("模块");

  const std::vector<std::vector<std::string>> expected_rows = {
      {"1", "超级列表框增强模块", "128 KB", "★★★★", "2012-03-15",
       "http://source.test/soft/101.html"},
      {"2", "Excel数据库操作类模块", "88 KB", "★★", "2012-01-09",
       "http://source.test/soft/104.html"},
  };
  EXPECT_EQ(window_.rows(), expected_rows) << "a detail page without a rating adds nothing";

  const std::vector<StoredEntry> stored = library();
  ASSERT_EQ(stored.size(), 2u);
  for (size_t i = 0; i < stored.size(); ++i) {
    EXPECT_EQ(stored[i].title, expected_rows[i][1]);
    EXPECT_EQ(stored[i].size, expected_rows[i][2]);
    EXPECT_EQ(stored[i].rating, expected_rows[i][3]);
    EXPECT_EQ(stored[i].update_time, expected_rows[i][4]);
    EXPECT_EQ(stored[i].address, expected_rows[i][5]) << "the full detail address is stored";
    EXPECT_EQ(stored[i].category, "") << "harvested entries have no category";
    EXPECT_FALSE(stored[i].has_attachment);
  }

  const std::vector<std::string> requests = site_.requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[0], first_query_address(FakeSite::sites(), "模块"));
  EXPECT_EQ(requests[1],
            search_page_base_of(FakeSite::sites(), "模块") + "100&pn=100&tn=baiduadv&rn=100")
      << "one worker for the one page the count gives";
  EXPECT_EQ(site_.requests_holding("soft/110"), 0) << "a page's hits only";
}

TEST_F(HarvestTest, RowsAreNumberedByTheListsRowCount) {
  make_library();
  window_.append_numbered_row({"earlier", "", "", "", ""});
  window_.append_numbered_row({"rows", "", "", "", ""});
  site_.add_entries("模块", 1, 3);
  search("模块");
  std::vector<std::string> numbers;
  for (const auto& row : window_.rows()) numbers.push_back(row[0]);
  EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
}

TEST_F(HarvestTest, TitlesTheLibraryHoldsAreSkippedBeforeTheirDetailPage) {
  make_library();
  const std::string long_title = std::string(300, 'x') + "模块";  // longer than 标题 holds
  add_to_library({"模块A", long_title});
  site_.add_entry({1, "模块A", std::string("★"), "1 KB", "t"});
  site_.add_entry({2, "模块a", std::string("★"), "1 KB", "t"});   // differs in case
  site_.add_entry({3, "模块A ", std::string("★"), "1 KB", "t"});  // differs by a space
  site_.add_entry({4, long_title, std::string("★"), "1 KB", "t"});
  search("模块");
  EXPECT_EQ(row_titles(), (std::vector<std::string>{"模块a", "模块A "}));
  EXPECT_EQ(site_.requests_holding("soft/1.html"), 0) << "a held title's page isn't fetched";
  EXPECT_EQ(site_.requests_holding("soft/4.html"), 0)
      << "a long title is compared as the library holds it, cut to its width";
  EXPECT_EQ(library().size(), 4u);

  // Searching again adds nothing: every title is held now.
  AnsweringWindow again;
  WebSearch web(services(), kWindowTitle);
  search(web, again, "模块");
  EXPECT_TRUE(again.rows().empty());
  EXPECT_EQ(library().size(), 4u);
  EXPECT_EQ(web.progress().totals().present, 4);
}

TEST_F(HarvestTest, EveryPageOfTheCountIsHarvestedInItsOwnOrder) {
  make_library();
  site_.add_entries("批量源码第", 1, 250);  // count 250: pages 1 to 3, offsets 100 to 300
  search("批量");
  ASSERT_EQ(window_.rows().size(), 250u);
  for (const char* offset : {"&pn=100&pn=", "&pn=200&pn=", "&pn=300&pn="}) {
    EXPECT_EQ(site_.requests_holding(offset), 1) << offset;
  }
  EXPECT_EQ(site_.requests_holding("&pn=400&pn="), 0);
  // Rows of one page keep its order; pages may interleave.
  std::map<int, int> last_of_page;
  for (const std::string& title : row_titles()) {
    const int n = std::stoi(title.substr(std::string("批量源码第").size()));
    const int page = (n - 1) / 100;
    EXPECT_LT(last_of_page[page], n) << title << " came after a later hit of its page";
    last_of_page[page] = n;
  }
  EXPECT_EQ(library().size(), 250u);
}

// A list as slow as a visible one under Wine: every step costs some milliseconds.
class SlowListWindow : public AnsweringWindow {
 public:
  void append_numbered_rows(const std::vector<RowTexts>& rows) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    ++steps;
    AnsweringWindow::append_numbered_rows(rows);
  }
  std::atomic<int> steps{0};
};

TEST_F(HarvestTest, ASlowListGetsTheRowsInFewStepsInTheLibrarysOrder) {
  make_library();
  site_.add_entries("批量源码第", 1, 250);
  SlowListWindow window;
  WebSearch web(services(), kWindowTitle);
  search(web, window, "批量");
  const auto rows = window.rows();
  ASSERT_EQ(rows.size(), 250u);
  EXPECT_LT(window.steps.load(), 250) << "every row took a step of its own";
  const std::vector<std::string> stored = library_titles();
  ASSERT_EQ(stored.size(), 250u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][0], std::to_string(i + 1)) << "row " << i << "'s number";
    EXPECT_EQ(rows[i][1], stored[i]) << "row " << i << " and the library's entry " << i + 1;
  }
  EXPECT_EQ(web.progress().totals().added, 250) << "entries counted as added";
}

TEST_F(HarvestTest, AHugeCountHarvestsNoMoreThanTheCapWithBoundedRequests) {
  make_library();
  site_.add_entries("模块", 1, 40);
  site_.announce_count("99999999");
  site_.set_delay_ms(2);
  HarvestLimits limits;
  limits.max_result_pages = 12;
  limits.requests_in_flight = 3;
  search("模块", limits);
  int pages = 0;
  for (const std::string& r : site_.requests()) pages += r.find("&pn=100&tn=") != std::string::npos;
  EXPECT_EQ(pages, 13) << "the first query and the capped pages";
  EXPECT_EQ(site_.requests_holding("&pn=1200&pn="), 1) << "the last page up to the cap";
  EXPECT_EQ(site_.requests_holding("&pn=1300&pn="), 0);
  EXPECT_LE(site_.most_in_flight(), 3 + 0) << "requests in flight beyond the bound";
  EXPECT_EQ(window_.rows().size(), 40u) << "page 1 holds the 40 hits, the others none";
}

TEST_F(HarvestTest, DetailPagesAreFetchedSeveralAtOnceWithinTheBound) {
  make_library();
  site_.add_entries("模块", 1, 60);
  site_.set_delay_ms(5);
  search("模块");
  EXPECT_LE(site_.most_in_flight(), 8);
  EXPECT_GE(site_.most_in_flight(), 4) << "detail pages were fetched one after another";
  EXPECT_EQ(window_.rows().size(), 60u);
}

TEST_F(HarvestTest, NoFirstPageStillHarvestsPageOne) {
  make_library();
  site_.add_entries("模块", 1, 2);
  site_.serve(first_query_address(FakeSite::sites(), "模块"), "");
  search("模块");
  EXPECT_EQ(window_.rows().size(), 2u);
  EXPECT_EQ(site_.requests_holding("&pn=100&pn="), 1);
}

TEST_F(HarvestTest, WithoutALibraryRowsAreListedAndNothingIsStored) {
  site_.add_entries("模块", 1, 3);
  search("模块");
  EXPECT_EQ(window_.rows().size(), 3u);
  search("模块");
  EXPECT_EQ(window_.rows().size(), 6u) << "nothing is held, so every hit counts as new";
}

TEST_F(HarvestTest, ATitleThatCantBeCheckedIsLeftForTheNextSearch) {
  FaultyFiles files;
  make_library();
  add_to_library({"甲", "乙"});
  site_.add_entry({1, "模块A", std::string("★"), "1 KB", "t"});
  site_.hold_back("soft/1.html");
  WebSearch web(services(), kWindowTitle);
  web.start_web_search(window_, "模块");
  // The worker found the title new and waits for its detail page.
  for (int i = 0; i < 2000 && site_.requests_holding("soft/1.html") == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(site_.requests_holding("soft/1.html"), 1);
  // Meanwhile another program adds the title, and holds that record past the wait.
  add_to_library({"模块A"});
  {
    const std::string lib = folder_->library_path();
    LockingProcess other(lib, record_lock_byte(lib, 3));
    ASSERT_TRUE(other.held());
    site_.release_all();
    ASSERT_TRUE(web.progress().wait_until_idle(kWaitMs));
  }
  EXPECT_TRUE(window_.rows().empty()) << "listed without knowing whether it is new";
  EXPECT_EQ(library_titles(), (std::vector<std::string>{"甲", "乙", "模块A"}));
  // A search while record 3 can't be read: the hit isn't even fetched.
  files.fail_reads_of(folder_->library_path(), 116 + 72 * 7 + 604 * 2 + 10);
  search("模块");
  files.fail_reads_of("", 0);
  EXPECT_EQ(site_.requests_holding("soft/1.html"), 1);
  EXPECT_TRUE(window_.rows().empty());
  search("模块");
  EXPECT_TRUE(window_.rows().empty());
  EXPECT_EQ(library().size(), 3u);
}

// Two result pages that hold the same titles, each twice: workers meeting a title at about
// the same time, and one worker meeting it again in the same step, add it once. Each round
// races anew with titles of its own.
TEST_F(HarvestTest, RacingWorkersAddATitleOnce) {
  make_library();
  const SearchSites sites = FakeSite::sites();
  size_t listed = 0;
  for (int round = 0; round < 4; ++round) {
    const std::string keyword = "同名" + std::to_string(round) + "号";
    std::string page = "<p><span class=\"nums\">找到相关结果约150个</span></p>";
    for (int i = 0; i < 30; ++i) {
      const int id = 1000 + 100 * round + i;
      page += hit_link_of(id, keyword + std::to_string(i), keyword);
      page += hit_link_of(id, keyword + std::to_string(i), keyword);
      site_.add_entry({id, "x", std::string("★"), "1 KB", "t"});
    }
    site_.serve(first_query_address(sites, keyword), page);
    for (const char* offset : {"100", "200"}) {
      site_.serve(search_page_base_of(sites, keyword) + offset + "&pn=100&tn=baiduadv&rn=100",
                  page);
    }
    search(keyword);
    std::vector<std::string> titles = row_titles();
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(std::adjacent_find(titles.begin(), titles.end()), titles.end())
        << "a title listed twice in round " << round;
    listed += 30;
    EXPECT_EQ(titles.size(), listed);
  }
  EXPECT_EQ(library().size(), listed);
}

// A window that holds back the rows whose title holds a text, as a busy window's thread
// would, while its search's worker holds that search's lock.
class GatedWindow : public AnsweringWindow {
 public:
  explicit GatedWindow(std::string gate) : gate_(std::move(gate)) {}
  int append_numbered_row(const RowTexts& texts) override {
    {
      std::unique_lock<std::mutex> hold(mutex_);
      if (texts[0].find(gate_) != std::string::npos) {
        ++waiting_;
        waited_.notify_all();
        opened_.wait(hold, [&] { return open_; });
      }
    }
    return AnsweringWindow::append_numbered_row(texts);
  }
  bool wait_for_a_held_row() {
    std::unique_lock<std::mutex> hold(mutex_);
    return waited_.wait_for(hold, std::chrono::seconds(10), [&] { return waiting_ > 0; });
  }
  void open() {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

 private:
  const std::string gate_;
  std::mutex mutex_;
  std::condition_variable opened_, waited_;
  int waiting_ = 0;
  bool open_ = false;
};

TEST_F(HarvestTest, ASecondSearchHarvestsWhileTheFirstStillDoes) {
  make_library();
  site_.add_entries("甲模块", 1, 5);
  site_.add_entries("乙模块", 1, 5);
  GatedWindow window("甲");
  WebSearch web(services(), kWindowTitle);
  web.start_web_search(window, "甲");
  ASSERT_TRUE(window.wait_for_a_held_row()) << "the first search never reached its rows";
  // The first search's worker now waits for the window while holding its search's lock.
  web.start_web_search(window, "乙");
  EXPECT_EQ(web.search_page_base(), search_page_base_of(FakeSite::sites(), "乙"));
  for (int i = 0; i < 2000 && window.rows().size() < 5; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(window.rows().size(), 5u) << "the second search waited for the first one's lock";
  for (int i = 0; i < 2000 && web.progress().totals().searches_running != 1; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(web.progress().totals().searches_running, 1) << "the second search didn't end";
  window.open();
  ASSERT_TRUE(web.progress().wait_until_idle(kWaitMs));
  std::vector<std::string> titles;
  for (const auto& row : window.rows()) titles.push_back(row[1]);
  EXPECT_EQ(titles,
            (std::vector<std::string>{"乙模块1", "乙模块2", "乙模块3", "乙模块4", "乙模块5",
                                      "甲模块1", "甲模块2", "甲模块3", "甲模块4", "甲模块5"}))
      << "the second search's rows come below whatever the list shows";
  EXPECT_EQ(library().size(), 10u);
  EXPECT_EQ(web.progress().totals().added, 10);
  EXPECT_EQ(web.progress().totals().pages_done, 2);
}

TEST_F(HarvestTest, TheCaptionShowsTheSearchRunningAndItsEnd) {
  make_library();
  add_to_library({"模块3"});
  site_.add_entries("模块", 1, 3);
  site_.hold_back("soft/");
  WebSearch web(services(), kWindowTitle);
  web.start_web_search(window_, "模块");
  EXPECT_EQ(window_.control_text(Control::kMainWindow).rfind("墨砚工坊V1.0 - 网络搜索中：", 0), 0u)
      << "as the search starts";
  EXPECT_FALSE(window_.caption_passing()) << "the caption of a running search stays";
  site_.release_all();
  ASSERT_TRUE(web.progress().wait_until_idle(kWaitMs));
  EXPECT_EQ(window_.control_text(Control::kMainWindow),
            "墨砚工坊V1.0 - 网络搜索完成：1/1页，新增2条，已有1条");
  EXPECT_TRUE(window_.caption_passing()) << "the result does not give way to the title";
  // A second search shows its own progress, which stays while it runs.
  site_.hold_back("&pn=100&pn=");  // its result page
  web.start_web_search(window_, "模块");
  EXPECT_FALSE(window_.caption_passing()) << "the second search's caption";
  site_.release_all();
  ASSERT_TRUE(web.progress().wait_until_idle(kWaitMs));
  EXPECT_TRUE(window_.caption_passing()) << "the second search's result";
  EXPECT_EQ(window_.rows().size(), 2u) << "the rows are the same with progress shown";
  EXPECT_TRUE(window_.boxes().empty()) << "a web search shows no message";
}

}  // namespace
