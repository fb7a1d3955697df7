// The entry form: the choices shown, the file chosen, and the entry added.
#include "library/entry_form.h"

#include <gtest/gtest.h>

#include "library/library_listing.h"
#include "library_test_support.h"
#include "locking_process.h"
#include "store/source_record.h"
#include "store/store.h"

namespace {

class EntryFormTest : public LibraryTest {
 protected:
  // A complete form.
  void fill_form(const std::string& title) {
    window_.set_control_text(Control::编辑框2, title);
    window_.set_control_text(Control::编辑框3, "12 KB");
    window_.set_control_text(Control::标签2, " ★★★☆☆");
    window_.set_control_text(Control::标签3, " 数据库类");
    window_.set_control_text(Control::编辑框5, "2013-10-25 9:5:7");
  }
  std::vector<std::string> box_texts() const {
    std::vector<std::string> texts;
    for (const FakeWindow::Box& box : window_.boxes()) texts.push_back(box.text);
    return texts;
  }
};

TEST_F(EntryFormTest, ChoicesShowAfterABlank) {
  struct Case {
    Control combo, label;
    const char* item;
    void (*handler)(WindowPort&);
  };
  const Case cases[] = {
      {Control::组合框1, Control::标签2, "★★★☆☆", show_star_choice},
      {Control::组合框1, Control::标签2, "☆☆☆☆☆", show_star_choice},
      {Control::组合框2, Control::标签3, "图形图像", show_type_choice},
  };
  for (const Case& c : cases) {
    window_.set_chosen_item(c.combo, c.item);
    c.handler(window_);
    EXPECT_EQ(window_.control_text(c.label), std::string(" ") + c.item);
  }
}

TEST_F(EntryFormTest, ChoosingAFileFillsTheForm) {
  files_.add_file("C:\\代码\\工具.e", std::string(1536, 'x'), {2013, 10, 25, 9, 5, 0});
  window_.set_control_text(Control::标签2, " ★☆☆☆☆");
  window_.set_control_text(Control::标签3, " 模块控件");
  window_.answer_file_dialog_with("C:\\代码\\工具.e");
  choose_source_file(window_, context_);
  EXPECT_EQ(window_.log(), std::vector<std::string>{"choose_open_file 易语言源码文件（*.e）|*.e"});
  EXPECT_EQ(window_.control_text(Control::编辑框2), "工具");
  EXPECT_EQ(window_.control_text(Control::编辑框3), "1.5 KB");
  EXPECT_EQ(window_.control_text(Control::编辑框5), "2013-10-25 9:5:");
  EXPECT_EQ(pending_file_name_, "工具.e");
  EXPECT_EQ(window_.control_text(Control::标签2), " ★☆☆☆☆") << "the choices stay";
  EXPECT_EQ(window_.control_text(Control::标签3), " 模块控件");

  // Cancelled: nothing changes.
  window_.answer_file_dialog_with("");
  window_.set_control_text(Control::编辑框2, "typed");
  choose_source_file(window_, context_);
  EXPECT_EQ(window_.control_text(Control::编辑框2), "typed");
  EXPECT_EQ(pending_file_name_, "工具.e");
}

TEST_F(EntryFormTest, TheFirstMissingFieldIsReportedAndNothingStored) {
  struct Case {
    std::vector<Control> empty;
    const char* message;
  };
  const Case cases[] = {
      {{Control::编辑框2, Control::编辑框3, Control::标签2, Control::标签3, Control::编辑框5},
       "标题不能为空"},
      {{Control::编辑框3, Control::编辑框5}, "源码大小为空"},
      {{Control::标签2}, "请选择源码星级"},
      {{Control::标签3, Control::编辑框5}, "请选择源码类型"},
      {{Control::编辑框5}, "更新时间不能为空"},
  };
  for (const Case& c : cases) {
    FakeWindow window;
    for (Control control :
         {Control::编辑框2, Control::编辑框3, Control::标签2, Control::标签3, Control::编辑框5}) {
      window.set_control_text(control, " ");  // blanks count as filled
    }
    for (Control control : c.empty) window.set_control_text(control, "");
    add_manual_entry(window, context_);
    ASSERT_EQ(window.boxes().size(), 1u) << c.message;
    EXPECT_EQ(window.boxes()[0].text, c.message);
    EXPECT_EQ(window.boxes()[0].caption, "提示");
    EXPECT_EQ(window.boxes()[0].flags, 0x40u);
  }
  EXPECT_TRUE(entries().empty());
}

TEST_F(EntryFormTest, AnEntryIsStoredWithTheChosenFile) {
  files_.add_file("C:\\代码\\工具.e", "source bytes");
  window_.answer_file_dialog_with("C:\\代码\\工具.e");
  choose_source_file(window_, context_);
  files_.set_current_folder("C:\\代码");  // where the dialog left the current folder
  fill_form("我的工具");
  add_manual_entry(window_, context_);
  ASSERT_EQ(window_.boxes().size(), 1u);
  EXPECT_EQ(window_.boxes()[0].text, "源码添加成功!");
  EXPECT_EQ(window_.boxes()[0].caption, "信息：");
  EXPECT_EQ(window_.boxes()[0].flags, 0x40u);
  const std::vector<Entry> expected = {
      {"我的工具", "数据库类", "12 KB", "★★★☆☆", "2013-10-25 9:5:7", "工具.e"}};
  EXPECT_EQ(entries(), expected);
  EXPECT_EQ(attachment_of("我的工具"), "source bytes");
  EXPECT_EQ(files_.read().back(), "工具.e") << "read by its name, from the current folder";
  EXPECT_EQ(window_.control_text(Control::编辑框2), "我的工具") << "the form is not cleared";
  EXPECT_EQ(record_number(), 0);
}

TEST_F(EntryFormTest, TitlesTheLibraryHoldsAreRefused) {
  fill_form("工具");
  add_manual_entry(window_, context_);
  add_manual_entry(window_, context_);  // the same title twice in a row
  fill_form("工具 ");                   // a trailing blank makes another title
  add_manual_entry(window_, context_);
  fill_form("Gongju");
  add_manual_entry(window_, context_);
  fill_form("gongju");  // letter case counts
  add_manual_entry(window_, context_);
  fill_form(" ");  // a blank is a title
  add_manual_entry(window_, context_);
  EXPECT_EQ(box_texts(),
            (std::vector<std::string>{"源码添加成功!", "该源码数据库中已存在", "源码添加成功!",
                                      "源码添加成功!", "源码添加成功!", "源码添加成功!"}));
  EXPECT_EQ(window_.boxes()[1].caption, "信息：");
  EXPECT_EQ(window_.boxes()[1].flags, 0x40u);
  EXPECT_EQ(entries().size(), 5u);
}

TEST_F(EntryFormTest, ALongTitleIsFoundAsTheLibraryHoldsIt) {
  // 标题 holds 256 bytes: a longer title is stored cut, and a second add of it is refused.
  const std::string title = std::string(255, 'a') + "源码";
  fill_form(title);
  add_manual_entry(window_, context_);
  add_manual_entry(window_, context_);
  EXPECT_EQ(box_texts(), (std::vector<std::string>{"源码添加成功!", "该源码数据库中已存在"}));
  EXPECT_EQ(entries().size(), 1u);
}

TEST_F(EntryFormTest, TwoAddsAfterOneChoiceShareTheFile) {
  files_.add_file("C:\\src\\a.e", "AAA");
  window_.answer_file_dialog_with("C:\\src\\a.e");
  choose_source_file(window_, context_);
  files_.set_current_folder("C:\\src");
  fill_form("one");
  add_manual_entry(window_, context_);
  fill_form("two");
  add_manual_entry(window_, context_);
  const std::vector<Entry> all = entries();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].address, "a.e");
  EXPECT_EQ(all[1].address, "a.e");
  EXPECT_EQ(attachment_of("one"), "AAA");
  EXPECT_EQ(attachment_of("two"), "AAA");
}

TEST_F(EntryFormTest, WhatTheChosenFileGivesTheEntry) {
  files_.add_file("C:\\src\\locked.e", "secret");
  files_.make_unreadable("C:\\src\\locked.e");
  files_.add_file("C:\\src\\huge.e", "", {}, kLargestSourceFile + 1);
  files_.add_file("C:\\src\\edge.e", "edge", {}, kLargestSourceFile);
  // Its name reads "曲?.e" in the program's text; the system knows it by its own name.
  files_.add_file("C:\\src\\\xC7\xFA<U+266B>.e", "tune");
  files_.set_current_folder("C:\\src");
  struct Case {
    const char* title;
    const char* chosen;  // empty: no file chosen since start
    const char* native;
    const char* size;  // the size the form shows when the file is chosen
    const char* box;
    const char* attachment;  // "(none)" when nothing is stored
  };
  const Case cases[] = {
      {"no file", "", "", "", "源码添加成功!", ""},
      {"unreadable", "C:\\src\\locked.e", "", "0.01 KB", "源码添加成功!", ""},
      {"too large", "C:\\src\\huge.e", "", "64 MB", "源码添加失败：源码文件超过 64 MB", "(none)"},
      {"at the bound", "C:\\src\\edge.e", "", "64 MB", "源码添加成功!", "edge"},
      {"lossy name", "C:\\src\\曲?.e", "C:\\src\\\xC7\xFA<U+266B>.e", "0 KB", "源码添加成功!",
       "tune"},
  };
  for (const Case& c : cases) {
    if (*c.chosen != '\0') {
      window_.answer_file_dialog_with(c.chosen, c.native);
      choose_source_file(window_, context_);
      EXPECT_EQ(window_.control_text(Control::编辑框3), c.size) << c.title;
    }
    fill_form(c.title);
    add_manual_entry(window_, context_);
    EXPECT_EQ(window_.boxes().back().text, c.box) << c.title;
    EXPECT_EQ(attachment_of(c.title), c.attachment) << c.title;
  }
  const std::vector<Entry> all = entries();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].address, "") << "no file chosen: an empty name";
  EXPECT_EQ(all[3].address, "曲?.e") << "as the program's text has it";
  EXPECT_EQ(files_.read().back(), "\xC7\xFA<U+266B>.e") << "read by the system's name";
}

TEST_F(EntryFormTest, AMissingLibraryIsSaidNotClaimedAsSuccess) {
  context_.store_path = path("Missing.edb");
  fill_form("工具");
  add_manual_entry(window_, context_);
  ASSERT_EQ(window_.boxes().size(), 1u);
  const std::string text = window_.boxes()[0].text;
  EXPECT_EQ(text.rfind("源码添加失败：", 0), 0u) << text;
  EXPECT_NE(text.find("Missing.edb"), std::string::npos) << "names the library: " << text;
  EXPECT_EQ(window_.boxes()[0].flags, 0x30u);
}

TEST_F(EntryFormTest, ATitleThatCantBeCheckedIsNotAdded) {
  add_titles({"a", "工具"});
  fill_form("工具");
  // Another program takes record 1's lock while the library is open here (a listing still
  // runs, say) and keeps it past the wait.
  ASSERT_TRUE(store_open(lib_));
  {
    LockingProcess other(lib_, record_lock_byte(lib_, 1));
    ASSERT_TRUE(other.held());
    add_manual_entry(window_, context_);
  }
  ASSERT_EQ(window_.boxes().size(), 1u);
  const std::string text = window_.boxes()[0].text;
  EXPECT_EQ(text.rfind("无法检查源码库中是否已有此标题，源码未添加：", 0), 0u) << text;
  EXPECT_NE(text.find("record 1 "), std::string::npos) << "names the record: " << text;
  EXPECT_EQ(window_.boxes()[0].flags, 0x30u);
  EXPECT_EQ(entries().size(), 2u);
}

TEST_F(EntryFormTest, AddingWhileAListingRunsChecksTheWholeLibrary) {
  add_titles({"a", "工具", "c"}, "系统工具");
  fill_form("工具");
  // The form's button is pressed while the listing's last row lets messages run: the
  // library is open with its cursor past "工具", and the title must still be found.
  window_.post_event([&] { add_manual_entry(window_, context_); }, 2);
  list_category(window_, context_, "系统工具");
  EXPECT_EQ(box_texts(), std::vector<std::string>{"该源码数据库中已存在"});
  EXPECT_EQ(entries().size(), 3u);
}

}  // namespace
