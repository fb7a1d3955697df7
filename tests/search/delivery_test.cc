// Handing out the entry behind a row: every branch, with the site in memory, a real
// library file and message boxes answered Yes or No.
#include "search/delivery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "fake_site.h"
#include "search_test_support.h"
#include "store/attachment.h"
#include "store/source_record.h"
#include "store/store.h"
#include "store_test_support.h"

namespace {

const std::string kSite = "http://source.test/";
const std::string kAskDownload = "是否确认下载";
const std::string kAskOpen = "下载已完成,确定是否要打开？";

class DeliveryTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    folder_ = std::make_unique<FakeFolder>(dir_);
    new_library("Code.edb");
  }

  WebServices services() { return {FakeSite::sites(), &site_, folder_.get()}; }

  // An entry in the library and its row in the list; gives the row.
  int add_entry(const std::string& title, const std::string& address,
                const ByteSet& attachment = ByteSet()) {
    EXPECT_TRUE(add_library_entry(folder_->library_path(), title, address, attachment));
    return window_.append_numbered_row({title, "", "", "", address});
  }
  ByteSet attachment_of(const std::string& title) {
    return attachment_in_library(folder_->library_path(), title);
  }
  void deliver(int row) { deliver_entry(window_, services(), row); }
  std::string explorer_for(const std::string& name) {
    return "Explorer /select, " + folder_->file_path(name) + " 1000";
  }
  ByteSet package(int id) { return ByteSet(package_of(id)); }

  FakeSite site_;
  std::unique_ptr<FakeFolder> folder_;
  AnsweringWindow window_;
};

TEST_F(DeliveryTest, AStoredPackageIsWrittenAtOnceWithoutTheNetwork) {
  add_entry("其他源码", "http://source.test/soft/9.html", ByteSet(std::string("other")));
  const int row = add_entry("超级列表框增强模块", "http://source.test/soft/1.html", package(1));
  deliver(row);
  EXPECT_EQ(folder_->files(),
            (std::map<std::string, ByteSet>{{"超级列表框增强模块.rar", package(1)}}))
      << "the attachment byte for byte, as the package file";
  EXPECT_EQ(window_.processes(), std::vector<std::string>{explorer_for("超级列表框增强模块.rar")});
  EXPECT_TRUE(window_.boxes().empty());
  EXPECT_TRUE(site_.requests().empty());
}

TEST_F(DeliveryTest, ALocalSourceIsUnpackedIntoTheSourceFile) {
  const std::string source = std::string("source with a zero \0 byte", 25);
  const int row = add_entry("本地模块", "C:\\源码\\本地模块.e", pack_attachment(ByteSet(source)));
  deliver(row);
  EXPECT_EQ(folder_->files(), (std::map<std::string, ByteSet>{{"本地模块.e", ByteSet(source)}}));
  EXPECT_EQ(window_.processes(), std::vector<std::string>{explorer_for("本地模块.e")});
  EXPECT_TRUE(site_.requests().empty());

  // An attachment that doesn't unpack gives an empty source file.
  const int broken = add_entry("坏的模块", "D:\\x.e", ByteSet(std::string("not packed")));
  deliver(broken);
  EXPECT_EQ(folder_->files().at("坏的模块.e"), ByteSet());
}

TEST_F(DeliveryTest, YesTwiceDownloadsStoresWritesAndShows) {
  site_.add_entry({5, "多线程下载器源码", std::string("★"), "1 KB", "t"});
  const int row = add_entry("多线程下载器源码", kSite + "soft/5.html");
  window_.answer_in_turn({kAnswerYes, kAnswerYes});
  deliver(row);

  const std::vector<FakeWindow::Box> boxes = window_.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, kAskDownload + "多线程下载器源码");
  EXPECT_EQ(boxes[0].caption, "下载？");
  EXPECT_EQ(boxes[0].flags, 0x24u);
  EXPECT_EQ(boxes[1].text, "多线程下载器源码" + kAskOpen);
  EXPECT_EQ(boxes[1].caption, "打开？");
  EXPECT_EQ(boxes[1].flags, 0x24u);
  EXPECT_EQ(site_.requests(),
            (std::vector<std::string>{kSite + "soft/5.html", kSite + "down/5.html",
                                      kSite + "files/5.rar"}));
  EXPECT_EQ(attachment_of("多线程下载器源码"), package(5)) << "the package kept in 附件";
  EXPECT_EQ(folder_->files().at("多线程下载器源码.rar"), package(5));
  EXPECT_EQ(window_.processes(), std::vector<std::string>{explorer_for("多线程下载器源码.rar")});

  // The second double-click writes the package again at once: no question, no network.
  deliver(row);
  EXPECT_EQ(window_.boxes().size(), 2u);
  EXPECT_EQ(site_.requests().size(), 3u);
  EXPECT_EQ(folder_->written_names().size(), 2u);
  EXPECT_EQ(window_.processes().size(), 2u);
}

TEST_F(DeliveryTest, NoToTheSecondQuestionKeepsThePackageAndWritesNothing) {
  site_.add_entry({6, "俄罗斯方块游戏源码", std::string("★"), "1 KB", "t"});
  const int row = add_entry("俄罗斯方块游戏源码", kSite + "soft/6.html");
  window_.answer_in_turn({kAnswerYes, kAnswerNo});
  deliver(row);
  EXPECT_EQ(attachment_of("俄罗斯方块游戏源码"), package(6));
  EXPECT_TRUE(folder_->written_names().empty());
  EXPECT_TRUE(window_.processes().empty());

  deliver(row);
  EXPECT_EQ(folder_->files().at("俄罗斯方块游戏源码.rar"), package(6));
  EXPECT_EQ(window_.boxes().size(), 2u) << "no question the second time";
  EXPECT_EQ(site_.requests().size(), 3u);
}

TEST_F(DeliveryTest, NoToTheFirstQuestionChangesNothing) {
  site_.add_entry({7, "网络封包拦截模块源码", std::string("★"), "1 KB", "t"});
  const int row = add_entry("网络封包拦截模块源码", kSite + "soft/7.html");
  window_.answer_in_turn({kAnswerNo});
  deliver(row);
  EXPECT_EQ(window_.boxes().size(), 1u);
  EXPECT_TRUE(site_.requests().empty());
  EXPECT_TRUE(attachment_of("网络封包拦截模块源码").empty());
  EXPECT_TRUE(folder_->written_names().empty());
}

TEST_F(DeliveryTest, AFailedDownloadStoresAndWritesNothingAndSaysSo) {
  struct Case {
    std::string what;
    std::string address;  // the address served for
    std::string body;
    std::vector<std::string> requests;  // the site's, in order
  };
  const Case cases[] = {
      {"a detail page without a download link",
       kSite + "soft/8.html",
       "<html>no link</html>",
       {kSite + "soft/8.html"}},
      {"a download page without a package link",
       kSite + "down/8.html",
       "<html>no link</html>",
       {kSite + "soft/8.html", kSite + "down/8.html"}},
      {"an empty package",
       kSite + "files/8.rar",
       "",
       {kSite + "soft/8.html", kSite + "down/8.html", kSite + "files/8.rar"}},
  };
  std::vector<Case> all(std::begin(cases), std::end(cases));
  // Package links that lead back to the site itself, whose home page (or an error page)
  // would be kept as the package: none is fetched.
  for (const char* link : {"", "  ", "/", "//", "?", "?x=1", "#", "#top", ".", "./", "./?x=1",
                           "a/..", "a/../", "files/../.", "%2e/", "%2E", "./#x", " ./ "}) {
    all.push_back({std::string("the package link \"") + link + "\"",
                   kSite + "down/8.html",
                   "<!--判断是否已经扣点-->\r\n<a href=\"" + std::string(link) + "\"><img src=\"",
                   {kSite + "soft/8.html", kSite + "down/8.html"}});
  }
  ASSERT_TRUE(store_open(folder_->library_path()));
  ASSERT_TRUE(append_record({{kFieldTitle, std::string("文件管理工具源码")}}));
  store_close();
  for (const Case& c : all) {
    SCOPED_TRACE(c.what);
    FakeSite site;
    site.add_entry({8, "文件管理工具源码", std::string("★"), "1 KB", "t"});
    site.serve(c.address, c.body);
    AnsweringWindow window;
    window.append_numbered_row({"文件管理工具源码", "", "", "", kSite + "soft/8.html"});
    window.answer_in_turn({kAnswerYes, kAnswerYes});
    deliver_entry(window, {FakeSite::sites(), &site, folder_.get()}, 0);
    EXPECT_EQ(site.requests(), c.requests);
    ASSERT_EQ(window.boxes().size(), 2u);
    EXPECT_EQ(window.boxes()[1].text, kDownloadFailedText);
    EXPECT_EQ(window.boxes()[1].caption, kNoticeCaption);
    EXPECT_EQ(window.boxes()[1].flags, 0x40u);
    EXPECT_TRUE(attachment_of("文件管理工具源码").empty()) << "nothing stored as the package";
    EXPECT_TRUE(folder_->written_names().empty()) << "no file written";
    EXPECT_TRUE(window.processes().empty());
  }
}

TEST_F(DeliveryTest, OnlyAnAddressStartingWithHttpInItsOwnCaseMarksADownloadedPackage) {
  const ByteSet source(std::string("local source"));
  const ByteSet packed = pack_attachment(source);
  const struct {
    const char* address;
    bool package;  // written as it is to ".rar", else unpacked to ".e"
  } cases[] = {
      {"http://source.test/soft/1.html", true},
      {"HTTP://source.test/soft/1.html", false},
      {"Http://source.test/soft/1.html", false},
      {"http:/source.test/soft/1.html", false},
      {"C:\\源码\\甲.e", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    const std::string title = "甲" + std::to_string(&c - cases);
    AnsweringWindow window;
    window.append_numbered_row({title, "", "", "", c.address});
    add_entry(title, c.address, packed);
    deliver_entry(window, services(), 0);
    const std::string name = title + (c.package ? ".rar" : ".e");
    ASSERT_EQ(folder_->files().count(name), 1u);
    EXPECT_EQ(folder_->files().at(name), c.package ? packed : source);
  }
  EXPECT_TRUE(site_.requests().empty());
}

TEST_F(DeliveryTest, TitlesWithSpacesGiveUnquotedNames) {
  const int row = add_entry("文件 管理 工具源码", kSite + "soft/1.html", package(1));
  deliver(row);
  EXPECT_EQ(window_.processes(), std::vector<std::string>{"Explorer /select, " + dir_ +
                                                          "\\文件 管理 工具源码.rar 1000"});
}

TEST_F(DeliveryTest, AnEntryTheLibraryDoesntHoldWritesNothing) {
  add_entry("第一个源码", kSite + "soft/1.html", package(1));
  window_.append_numbered_row({"库里没有的源码", "", "", "", kSite + "soft/2.html"});
  window_.answer_in_turn({kAnswerYes, kAnswerYes});
  deliver(1);
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_EQ(window_.boxes()[0].text, kEntryNotHeldText);
  EXPECT_EQ(window_.boxes()[0].flags, 0x40u);
  EXPECT_TRUE(folder_->written_names().empty()) << "another entry's attachment was written";
  EXPECT_TRUE(site_.requests().empty());
  EXPECT_EQ(attachment_of("第一个源码"), package(1));
}

TEST_F(DeliveryTest, WithoutALibraryNothingIsWritten) {
  add_entry("源码", kSite + "soft/1.html", package(1));
  std::remove(folder_->library_path().c_str());
  deliver(0);
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_EQ(window_.boxes()[0].text, kLibraryUnavailableText);
  EXPECT_TRUE(folder_->written_names().empty());
}

TEST_F(DeliveryTest, NoRowOrAnEmptyTitleDoesNothing) {
  add_entry("源码", kSite + "soft/1.html", package(1));
  window_.append_numbered_row({"", "", "", "", kSite + "soft/1.html"});
  for (int row : {-1, 1, 2, 100}) {
    deliver(row);
    EXPECT_TRUE(window_.boxes().empty()) << row;
    EXPECT_TRUE(folder_->written_names().empty()) << row;
    EXPECT_TRUE(window_.processes().empty()) << row;
  }
}

TEST_F(DeliveryTest, HostileTitlesWriteNoFileAnywhere) {
  const std::string titles[] = {"..\\..\\x", "C:\\x", "a/b", "CON", "nul",  "COM1", "LPT1", "x\x81",
                                "a:b",       "a*b",   "a?b", "a|b", "a\"b", "a<b>", "a\tb"};
  for (const std::string& title : titles) {
    SCOPED_TRACE(title);
    AnsweringWindow window;
    add_entry(title, kSite + "soft/1.html", package(1));
    window.append_numbered_row({title, "", "", "", kSite + "soft/1.html"});
    deliver_entry(window, services(), 0);
    EXPECT_TRUE(folder_->written_names().empty());
    EXPECT_TRUE(window.processes().empty()) << "Explorer started for a name never written";
    ASSERT_EQ(window.boxes().size(), 1u);
    EXPECT_EQ(window.boxes()[0].text, kTitleNotAFileNameText);
  }
  // The same after a download: the package is kept, nothing is written.
  site_.add_entry({3, "x", std::string("★"), "1 KB", "t"});
  AnsweringWindow window;
  add_entry("..\\下载", kSite + "soft/3.html");
  window.append_numbered_row({"..\\下载", "", "", "", kSite + "soft/3.html"});
  window.answer_in_turn({kAnswerYes, kAnswerYes});
  deliver_entry(window, services(), 0);
  EXPECT_EQ(attachment_of("..\\下载"), package(3));
  EXPECT_TRUE(folder_->written_names().empty());
  EXPECT_EQ(window.boxes().back().text, kTitleNotAFileNameText);
}

TEST_F(DeliveryTest, ALongTitleIsFoundAsTheLibraryHoldsIt) {
  std::string title;
  for (int i = 0; i < 150; ++i) title += "长";  // 300 bytes: cut where 标题 ends
  const int row = add_entry(title, kSite + "soft/1.html", package(1));
  deliver(row);
  EXPECT_EQ(folder_->written_names(), std::vector<std::string>{title + ".rar"});
}

TEST_F(DeliveryTest, ANameTooLongForTheFolderWritesNothingAndSaysSo) {
  // In a folder of 200 units: 58 units are left for the name with its extension.
  folder_->set_folder_units(200);
  const std::string fits(54, 'f');  // 54 + ".rar" = 58
  const std::string long_by_one(55, 'g');
  const int fitting = add_entry(fits, kSite + "soft/1.html", package(1));
  const int too_long = add_entry(long_by_one, kSite + "soft/2.html", package(2));
  deliver(fitting);
  deliver(too_long);
  EXPECT_EQ(folder_->written_names(), std::vector<std::string>{fits + ".rar"});
  EXPECT_EQ(window_.processes(), std::vector<std::string>{explorer_for(fits + ".rar")})
      << "Explorer is not pointed at a file that was never written";
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_EQ(window_.boxes()[0].text, kTitleNotAFileNameText);
}

TEST_F(DeliveryTest, AFailedWriteStillShowsTheFolder) {
  folder_->fail_writes();
  const int row = add_entry("源码", kSite + "soft/1.html", package(1));
  deliver(row);
  EXPECT_EQ(window_.processes(), std::vector<std::string>{explorer_for("源码.rar")});
  EXPECT_TRUE(window_.boxes().empty()) << "a failed write is not reported";
}

// A window whose list changes while the first question is open, as a search adding rows
// or a listing refilling the list would.
class ChangingWindow : public AnsweringWindow {
 public:
  int message_box(const std::string& text, unsigned flags, const std::string& caption) override {
    delete_all_rows();
    append_numbered_row({"别的源码", "", "", "", "http://source.test/soft/9.html"});
    return AnsweringWindow::message_box(text, flags, caption);
  }
};

TEST_F(DeliveryTest, TheRowIsReadOnceSoAChangedListCantMixEntries) {
  site_.add_entry({5, "本条", std::string("★"), "1 KB", "t"});
  site_.add_entry({9, "别的源码", std::string("★"), "1 KB", "t"});
  add_entry("本条", kSite + "soft/5.html");
  ChangingWindow window;
  window.append_numbered_row({"本条", "", "", "", kSite + "soft/5.html"});
  window.answer_in_turn({kAnswerYes, kAnswerYes});
  deliver_entry(window, services(), 0);
  EXPECT_EQ(attachment_of("本条"), package(5)) << "another row's package was stored";
  EXPECT_EQ(site_.requests_holding("soft/9"), 0);
}

TEST_F(DeliveryTest, ADoubleClickStartsAWorkerAndRedrawsTheList) {
  add_entry("甲", kSite + "soft/1.html", package(1));
  add_entry("乙", kSite + "soft/2.html", package(2));
  window_.select_row(1);
  open_selected_entry(window_, services());
  for (int i = 0; i < 2000 && window_.processes().empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(window_.processes(), std::vector<std::string>{explorer_for("乙.rar")});
  const std::vector<std::string> log = window_.log();
  EXPECT_NE(std::find(log.begin(), log.end(), "redraw_list"), log.end());
}

}  // namespace
