// The import: what an imported entry holds, the walk's order and bounds, the scope boxes,
// the progress, the way out, and other handlers in the middle.
#include "library/source_import.h"

#include <gtest/gtest.h>

#include "library/entry_form.h"
#include "library/import_handlers.h"
#include "library/library_listing.h"
#include "library_test_support.h"
#include "locking_process.h"
#include "store/source_record.h"
#include "store/store.h"

namespace {

using Titles = std::vector<std::string>;

class ImportTest : public LibraryTest {
 protected:
  // The folder scope with the folder browser answering `folder`.
  void import_folder_scope(const std::string& folder) {
    window_.set_checked(Control::选择框1, false);
    window_.set_checked(Control::选择框3, true);
    window_.answer_folder_dialog_with(folder);
    import_sources(window_, context_);
  }
  Titles titles() {
    Titles all;
    for (const Entry& e : entries()) all.push_back(e.title);
    return all;
  }
  std::string progress() { return window_.control_text(Control::导入进度); }
};

TEST_F(ImportTest, AnImportedEntry) {
  files_.add_file("C:\\src\\数据库.e", "the source", {2013, 1, 5, 0, 0, 0}, 1536);
  import_folder_scope("C:\\src");
  const std::vector<Entry> expected = {
      {"数据库", "系统工具", "1.5 KB", "★★★★★", "2013-1-5 ", "C:\\src\\数据库.e"}};
  EXPECT_EQ(entries(), expected);
  EXPECT_EQ(attachment_of("数据库"), "the source");
  EXPECT_EQ(window_.log().front(), "choose_folder 请选择目录");
  EXPECT_TRUE(window_.boxes().empty()) << "a folder import ends without a message";
  EXPECT_EQ(record_number(), 0) << "the import closes the library";
}

TEST_F(ImportTest, FilesOfAFolderComeBeforeItsSubfoldersDepthFirstInTheSystemsOrder) {
  files_.add_file("C:\\top\\b.e", "");
  files_.add_file("C:\\top\\sub1\\c.e", "");
  files_.add_file("C:\\top\\a.e", "");
  files_.add_file("C:\\top\\sub1\\deep\\d.e", "");
  files_.add_file("C:\\top\\sub1\\c2.e", "");
  files_.add_file("C:\\top\\sub2\\e.e", "");
  files_.add_file("C:\\top\\notes.txt", "");
  files_.add_file("C:\\top\\UPPER.E", "");
  files_.add_file("C:\\top\\dir.e\\f.e", "");      // a folder named like a source file
  files_.add_file("C:\\top\\trailing.\\g.e", "");  // a folder whose name ends in "."
  import_folder_scope("C:\\top");
  EXPECT_EQ(titles(), (Titles{"b", "a", "UPPER", "c", "c2", "d", "e", "f"}));
}

TEST_F(ImportTest, OfTwoFilesOfOneNameTheFirstMetIsStored) {
  add_titles({"held"});
  files_.add_file("C:\\top\\one\\same.e", "first");
  // Names with a character GBK can't hold ("?" here): both read "曲?", but may differ.
  files_.add_file("C:\\top\\one\\曲?.e", "tune one");
  files_.add_file("C:\\top\\two\\same.e", "second");
  files_.add_file("C:\\top\\two\\held.e", "not read");
  files_.add_file("C:\\top\\two\\曲?.e", "tune two");
  import_folder_scope("C:\\top");
  EXPECT_EQ(titles(), (Titles{"held", "same", "曲?"}));
  EXPECT_EQ(attachment_of("same"), "first");
  EXPECT_EQ(attachment_of("曲?"), "tune one");
  for (const std::string& read : files_.read()) {
    EXPECT_NE(read, "C:\\top\\two\\same.e") << "a skipped file is not read";
    EXPECT_NE(read, "C:\\top\\two\\held.e") << "a skipped file is not read";
  }
  EXPECT_EQ(progress(), "导入完成：\r\n新增 2 个，已有 2 个，名称无法保存 1 个")
      << "the second 曲? is not taken as present";
}

TEST_F(ImportTest, ALongTitleIsFoundAsTheLibraryHoldsIt) {
  // Cut to 标题's 256 bytes when stored, the title still matches the next file of that name.
  const std::string name = std::string(300, 'n');
  files_.add_file("C:\\top\\a\\" + name + ".e", "first");
  files_.add_file("C:\\top\\b\\" + name + ".e", "second");
  import_folder_scope("C:\\top");
  EXPECT_EQ(titles(), (Titles{std::string(256, 'n')}));
}

TEST_F(ImportTest, AJunctionBackToItsParentIsNotFollowed) {
  // A profile's old "Application Data" junction leads to the profile itself.
  files_.add_file("C:\\Users\\me\\AppData\\x.e", "");
  files_.add_link("C:\\Users\\me\\Application Data", "C:\\Users\\me");
  files_.add_file("C:\\Users\\me\\y.e", "");
  import_folder_scope("C:\\Users");
  EXPECT_EQ(titles(), (Titles{"y", "x"}));
  for (const std::string& folder : files_.listed()) {
    EXPECT_EQ(folder.find("Application Data"), std::string::npos) << folder;
  }
}

TEST_F(ImportTest, FilesThatCantBeReadAreStoredEmptyAndFoldersThatCantBeListedSkipped) {
  files_.add_file("C:\\top\\locked.e", "secret");
  files_.make_unreadable("C:\\top\\locked.e");
  // Larger than the bound of a 32-bit process: not read at all.
  files_.add_file("C:\\top\\huge.e", "", {}, kLargestSourceFile + 1);
  files_.add_file("C:\\top\\closed\\lost.e", "");
  files_.make_unlistable("C:\\top\\closed");
  files_.add_file("C:\\top\\open\\found.e", "ok");
  // Listed, but not described: a folder and a source file are counted, a file that would
  // not be imported anyway is not.
  files_.add_file("C:\\top\\veiled\\deep.e", "");
  files_.make_unexaminable("C:\\top\\veiled");
  files_.add_file("C:\\top\\veiled.e", "");
  files_.make_unexaminable("C:\\top\\veiled.e");
  files_.add_file("C:\\top\\veiled.txt", "");
  files_.make_unexaminable("C:\\top\\veiled.txt");
  import_folder_scope("C:\\top");
  EXPECT_EQ(titles(), (Titles{"locked", "huge", "found"}));
  for (const std::string& folder : files_.listed()) EXPECT_NE(folder, "C:\\top\\veiled");
  ASSERT_TRUE(store_open(lib_));
  find_record([&] {
    if (read_field(kFieldTitle).text() != "found") {
      EXPECT_EQ(read_field(kFieldAttachment).bytes(), pack_attachment(ByteSet()))
          << read_field(kFieldTitle).text() << ": the empty packed attachment";
    }
    return false;
  });
  store_close();
  EXPECT_EQ(progress(),
            "导入完成：\r\n新增 3 个，已有 0 个，其中 2 个未能读取，无法打开的文件夹 1 个，"
            "无法访问的文件或文件夹 2 个");
}

TEST_F(ImportTest, ADriveRootIsUsedAsItIs) {
  files_.add_file("D:\\a.e", "");
  files_.add_file("D:\\sub\\b.e", "");
  import_folder_scope("D:\\");
  const std::vector<Entry> all = entries();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].address, "D:\\a.e");
  EXPECT_EQ(all[1].address, "D:\\sub\\b.e");
}

TEST_F(ImportTest, ScopeBoxesExcludeEachOther) {
  struct Step {
    Control click;
    bool folder, computer, file;  // 选择框3, 选择框4, 选择框5 after the click
  };
  // One sequence; each box has already changed itself when its handler runs.
  const Step steps[] = {
      {Control::选择框3, true, false, false}, {Control::选择框4, false, true, false},
      {Control::选择框5, false, false, true}, {Control::选择框5, false, false, false},
      {Control::选择框3, true, false, false}, {Control::选择框3, false, false, false},
  };
  for (const Step& s : steps) {
    window_.set_checked(s.click, !window_.is_checked(s.click));
    select_import_scope(window_, s.click);
    EXPECT_EQ(window_.is_checked(Control::选择框3), s.folder);
    EXPECT_EQ(window_.is_checked(Control::选择框4), s.computer);
    EXPECT_EQ(window_.is_checked(Control::选择框5), s.file);
  }
}

TEST_F(ImportTest, WithoutAScopeNothingHappens) {
  import_sources(window_, context_);
  EXPECT_TRUE(window_.log().empty());
  EXPECT_TRUE(files_.listed().empty());
}

TEST_F(ImportTest, TheSingleFileScopeOnlyFillsTheForm) {
  files_.add_file("C:\\src\\工具.e", "x");
  window_.set_checked(Control::选择框5, true);
  window_.answer_file_dialog_with("C:\\src\\工具.e");
  import_sources(window_, context_);
  EXPECT_EQ(window_.control_text(Control::编辑框2), "工具");
  EXPECT_TRUE(entries().empty());
}

TEST_F(ImportTest, CancellingTheFolderBrowserImportsNothing) {
  files_.add_file("C:\\src\\a.e", "");
  import_folder_scope("");
  EXPECT_TRUE(entries().empty());
  EXPECT_TRUE(window_.boxes().empty());
  EXPECT_TRUE(files_.listed().empty());
}

TEST_F(ImportTest, EveryFixedDiskThenAMessage) {
  files_.set_fixed_disks({"C:", "E:"});
  files_.add_file("C:\\a.e", "");
  files_.add_file("E:\\deep\\b.e", "");
  files_.add_file("F:\\c.e", "");  // not a fixed disk
  window_.set_checked(Control::选择框4, true);
  import_sources(window_, context_);
  EXPECT_EQ(titles(), (Titles{"a", "b"}));
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_EQ(window_.boxes()[0].text, "添加完成!");
  EXPECT_EQ(window_.boxes()[0].flags, 0u);
  EXPECT_EQ(window_.boxes()[0].caption, "信息：");
  EXPECT_EQ(record_number(), 0);
}

TEST_F(ImportTest, ProgressTakesTheReservedAreasPlace) {
  files_.add_file("C:\\src\\a.e", "");
  files_.add_file("C:\\src\\b.e", "");
  std::vector<std::string> seen;
  window_.post_event([&] { seen.push_back(progress()); });
  import_folder_scope("C:\\src");
  EXPECT_FALSE(window_.control_visible(Control::透明标签9));
  EXPECT_TRUE(window_.control_visible(Control::导入进度));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "正在导入：C:\\src\r\n新增 1 个，已有 0 个\r\n再按“添加源码”停止导入");
  EXPECT_EQ(progress(), "导入完成：\r\n新增 2 个，已有 0 个");
}

TEST_F(ImportTest, ASecondPressStopsTheImportAndKeepsWhatItStored) {
  for (const char* name : {"a", "b", "c", "d"})
    files_.add_file(std::string("C:\\src\\") + name + ".e", "");
  // The button is pressed again while the second file's messages run.
  window_.post_event([&] { import_sources(window_, context_); }, 1);
  import_folder_scope("C:\\src");
  EXPECT_EQ(titles(), (Titles{"a", "b"}));
  EXPECT_EQ(progress(), "导入已停止：\r\n新增 2 个，已有 0 个");
  EXPECT_EQ(record_number(), 0);
  EXPECT_FALSE(context_.import.running);

  // The next press starts an import again, which skips what is there.
  import_folder_scope("C:\\src");
  EXPECT_EQ(titles(), (Titles{"a", "b", "c", "d"}));

  // Heard after a folder without source files too: a tree of such folders keeps the
  // window answering, and stops where it is.
  files_.add_file("C:\\tree\\first\\notes.txt", "");
  files_.add_file("C:\\tree\\second\\late.e", "");
  window_.post_event([&] { import_sources(window_, context_); });
  import_folder_scope("C:\\tree");
  EXPECT_EQ(titles(), (Titles{"a", "b", "c", "d"})) << "stopped before the second folder";
}

TEST_F(ImportTest, AStoppedWholeComputerImportSaysNoCompletion) {
  files_.set_fixed_disks({"C:", "D:"});
  files_.add_file("C:\\a.e", "");
  files_.add_file("D:\\b.e", "");
  window_.set_checked(Control::选择框4, true);
  window_.post_event([&] { import_sources(window_, context_); });
  import_sources(window_, context_);
  EXPECT_EQ(titles(), (Titles{"a"}));
  EXPECT_TRUE(window_.boxes().empty());
}

TEST_F(ImportTest, AHandlerThatClosesTheLibraryMeanwhileDoesntEndTheStoring) {
  add_titles({"listed"}, "系统工具");
  for (const char* name : {"a", "b", "c"})
    files_.add_file(std::string("C:\\src\\") + name + ".e", "");
  // A category button is pressed while the first file's messages run: its listing works
  // on the import's library and closes it at its end. The import opens it again.
  window_.post_event([&] { list_category(window_, context_, "系统工具"); });
  import_folder_scope("C:\\src");
  EXPECT_EQ(titles(), (Titles{"listed", "a", "b", "c"}));
  EXPECT_EQ(column(1), (Titles{"listed", "a"})) << "the listing saw what was imported by then";
  EXPECT_EQ(record_number(), 0);
}

TEST_F(ImportTest, AnImportInTheMiddleOfAListingEndsTheListing) {
  add_titles({"s1", "s2", "s3"}, "系统工具");
  files_.add_file("C:\\src\\new.e", "");
  window_.post_event([&] { import_folder_scope("C:\\src"); });
  list_category(window_, context_, "系统工具");
  EXPECT_EQ(column(1), (Titles{"s1"}));
  EXPECT_EQ(titles(), (Titles{"s1", "s2", "s3", "new"}));
}

TEST_F(ImportTest, ATitleThatCantBeCheckedIsNotStored) {
  add_titles({"a", "b", "held"});
  files_.add_file("C:\\src\\held.e", "again");
  // Another program takes record 2's lock while the library is open here (a listing still
  // runs, say) and keeps it past the wait: the library may hold the title past it.
  ASSERT_TRUE(store_open(lib_));
  {
    LockingProcess other(lib_, record_lock_byte(lib_, 2));
    ASSERT_TRUE(other.held());
    import_folder_scope("C:\\src");
  }
  EXPECT_EQ(titles(), (Titles{"a", "b", "held"})) << "stored twice";
  EXPECT_EQ(progress(), "导入完成：\r\n新增 0 个，已有 0 个，无法查重未存入 1 个");
  import_folder_scope("C:\\src");
  EXPECT_EQ(progress(), "导入完成：\r\n新增 0 个，已有 1 个") << "checked again, and found";
}

TEST_F(ImportTest, AMissingLibraryIsSaidAndNothingIsWalked) {
  context_.store_path = path("Missing.edb");
  files_.set_fixed_disks({"C:"});
  files_.add_file("C:\\a.e", "");
  window_.set_checked(Control::选择框4, true);
  import_sources(window_, context_);
  EXPECT_TRUE(files_.listed().empty());
  EXPECT_TRUE(window_.boxes().empty());
  EXPECT_EQ(progress().rfind("源码库无法打开，未导入：", 0), 0u) << progress();
  EXPECT_NE(progress().find("Missing.edb"), std::string::npos) << progress();
}

TEST(LocalPaths, AFolderAndANameAreJoinedByOneSeparator) {
  struct Case {
    const char* folder;
    const char* joined;
  };
  const Case cases[] = {
      {"C:\\src", "C:\\src\\a.e"},
      {"D:\\", "D:\\a.e"},  // a drive's root ends with its separator already
      {"", "a.e"},          // no folder: the name alone, read from the current one
      {"C:\\\x81\x5C", "C:\\\x81\x5C\\a.e"},  // 乗 ends in the separator's byte
  };
  for (const Case& c : cases) EXPECT_EQ(joined_path(c.folder, '\\', "a.e"), c.joined) << c.folder;
}

TEST(ShownPath, LongPathsShowTheirEndWithoutCuttingACharacter) {
  EXPECT_EQ(shown_path("C:\\short"), "C:\\short");
  const std::string path =
      "C:\\" + std::string(40, 'a') + "\\源码源码源码源码源码源码源码源码源码源码";
  const std::string shown = shown_path(path);
  EXPECT_EQ(shown.rfind("……", 0), 0u);
  EXPECT_LE(shown.size(), 60u);
  EXPECT_EQ(shown.substr(shown.size() - 4), "源码");
  // What follows the ellipsis is whole characters: an even count of two-byte ones here.
  EXPECT_EQ(path.substr(path.size() - (shown.size() - 4)), shown.substr(4));
}

}  // namespace
