// The library's handlers in the real window under Wine: the list, its menu, the search
// button, the entry form with its file dialog, the import with its folder browser, its
// progress and its way out. Dialogs and boxes are answered from a second thread, as a
// user would answer them.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/library_handlers.h"
#include "app/local_files_win32.h"
#include "library/library_context.h"
#include "store/empty_library.h"
#include "store/source_record.h"
#include "store/store.h"
#include "win32/code_page.h"
#include "window_driver.h"
#include "window_fixture.h"

namespace {

// A fresh folder under the temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"moyan_library_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() { remove_tree(path_); }
  const std::wstring& path() const { return path_; }
  std::string text() const { return win32::narrow(path_); }

  static void remove_tree(const std::wstring& folder) {
    WIN32_FIND_DATAW found = {};
    HANDLE walk = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (walk != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = folder + L"\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
          RemoveDirectoryW(child.c_str());
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
          remove_tree(child);
        } else {
          DeleteFileW(child.c_str());
        }
      } while (FindNextFileW(walk, &found));
      FindClose(walk);
    }
    RemoveDirectoryW(folder.c_str());
  }

 private:
  std::wstring path_;
};

// A press and release of a control, posted from a thread other than the window's.
void click_from_another_thread(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void put_file(const std::wstring& path, const std::string& content) {
  // Every folder on the way, from the top down.
  for (size_t cut = path.find(L'\\', 3); cut != std::wstring::npos;
       cut = path.find(L'\\', cut + 1)) {
    CreateDirectoryW(path.substr(0, cut).c_str(), nullptr);
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

// The text of a message box, read and answered (OK) by a second thread.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    thread_ = std::thread([this] {
      HWND box = wait_for_process_window(L"#32770", 10000);
      if (box == nullptr) return;
      caption_ = window_text_of(box);
      text_ = window_text_of(GetDlgItem(box, 0xFFFF));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
  }
  ~BoxAnswerer() {
    if (thread_.joinable()) thread_.join();
  }
  std::wstring text() {
    thread_.join();
    return text_;
  }
  std::wstring caption() const { return caption_; }

 private:
  std::thread thread_;
  std::wstring caption_, text_;
};

// Answers the folder browser with `folder`, once the browser has filled its tree (a
// selection made earlier is undone by its own first one).
bool answer_folder_browser(const std::wstring& folder) {
  HWND dialog = wait_for_process_window(L"#32770", 10000);
  if (dialog == nullptr) return false;
  HWND tree = nullptr;
  for (int i = 0; i < 500; ++i) {
    tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    if (tree != nullptr && TreeView_GetSelection(tree) != nullptr) break;
    Sleep(10);
  }
  // Until the tree shows the folder's own name as selected.
  const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
  std::wstring shown;
  for (int i = 0; i < 50 && shown != name; ++i) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    Sleep(100);
    wchar_t text[MAX_PATH] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = tree == nullptr ? nullptr : TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (item.hItem != nullptr && TreeView_GetItem(tree, &item)) shown = text;
  }
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  return shown == name;
}

// Answers the open-file dialog with a whole path typed into its name box.
void answer_file_dialog(const std::wstring& file) {
  HWND dialog = wait_for_process_window(L"#32770", 10000);
  if (dialog == nullptr) return;
  Sleep(200);
  // The file name box: an edit inside a combo box in the dialogs of this kind.
  HWND name = GetDlgItem(dialog, 0x47C);
  if (name == nullptr) name = GetDlgItem(dialog, 0x480);
  SetWindowTextW(name, file.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// The folder browser, answered with `folder` from a second thread.
class FolderAnswerer {
 public:
  explicit FolderAnswerer(std::wstring folder) : folder_(std::move(folder)) {
    thread_ = std::thread([this] { answer_folder_browser(folder_); });
  }
  ~FolderAnswerer() { thread_.join(); }

 private:
  std::wstring folder_;
  std::thread thread_;
};

class LibraryWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    library_ = folder_.text() + "\\Code.edb";
    ASSERT_TRUE(create_empty_library(library_).is_ok());
    context_ = std::make_shared<LibraryContext>();
    context_->store_path = library_;
    context_->files = &files_;
    context_->pending_file_name = [this] { return pending_; };
    context_->set_pending_file_name = [this](const std::string& name) { pending_ = name; };
    bind_library_handlers(handlers_, context_, StartWebSearch());
  }
  void TearDown() override {
    WindowTest::TearDown();
    store_close_all();
  }

  void add(const std::string& title, const std::string& category) {
    ASSERT_TRUE(store_open(library_));
    ASSERT_TRUE(append_record({{kFieldTitle, title},
                               {kFieldCategory, category},
                               {kFieldSize, std::string("1 KB")},
                               {kFieldAddress, "C:\\" + title + ".e"}}));
    store_close();
  }
  std::vector<std::string> stored(const char* field) {
    std::vector<std::string> values;
    EXPECT_TRUE(store_open(library_));
    find_record([&] {
      values.push_back(read_field(field).text());
      return false;
    });
    store_close();
    return values;
  }
  HWND list() { return control(Control::超级列表框1); }
  // A cell as the list view itself gives it (it asks the window for the text it shows).
  std::wstring shown_cell(int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  void choose_item(Control combo, int index) {
    HWND box = control(combo);
    SendMessageW(box, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
  }

  TempFolder folder_;
  std::string library_;
  Win32LocalFiles files_;
  std::string pending_;
  std::shared_ptr<LibraryContext> context_;
};

TEST_F(LibraryWindowTest, ACategoryButtonFillsTheRealList) {
  add("网络源码", "系统工具");
  add("图片", "图形图像");
  add("源码大全", "系统工具");
  open();
  show_page(kManagementPage);
  click(control(Control::图形按钮14));
  EXPECT_EQ(window_->current_page(), kLibraryPage);
  ASSERT_EQ(port().row_count(), 2);
  EXPECT_EQ(ListView_GetItemCount(list()), 2) << "the list view's own count";
  const wchar_t* expected[2][3] = {{L"1", L"网络源码", L"1 KB"}, {L"2", L"源码大全", L"1 KB"}};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_EQ(shown_cell(row, column), expected[row][column]) << row << "," << column;
    }
  }
  EXPECT_EQ(shown_cell(1, 5), L"C:\\源码大全.e") << "the hidden column";
  EXPECT_EQ(shown_cell(7, 1), L"") << "a row that doesn't exist";

  click(control(Control::图形按钮21));
  EXPECT_EQ(port().row_count(), 1);
  EXPECT_EQ(shown_cell(0, 1), L"图片");
}

TEST_F(LibraryWindowTest, RowsLeaveWithTheirSelectionAndTypingFindsARow) {
  open();
  for (int i = 0; i < 12; ++i) {
    port().append_numbered_row({"t" + std::to_string(i), "", "", "", ""});
  }
  ListView_SetItemState(list(), 5, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  port().delete_row(2);
  EXPECT_EQ(port().selected_row(), 4) << "the selection moves up with its row";
  EXPECT_EQ(port().cell_text(4, 1), "t5");
  EXPECT_EQ(shown_cell(4, 1), L"t5");
  port().delete_row(4);
  EXPECT_EQ(port().selected_row(), -1) << "the selected row itself went";
  port().delete_row(99);
  EXPECT_EQ(ListView_GetItemCount(list()), 10);

  // Typing finds a row by the start of its number. Left after the deletions: labels 1, 2,
  // 4, 5, 7, 8, 9, 10, 11, 12 (numbers stay as they were given).
  LVFINDINFOW find = {};
  find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
  find.psz = L"1";
  EXPECT_EQ(ListView_FindItem(list(), -1, &find), 0);
  EXPECT_EQ(ListView_FindItem(list(), 1, &find), 7) << "the row labelled 10";
  find.psz = L"4";
  EXPECT_EQ(ListView_FindItem(list(), 5, &find), 2) << "from the end round to the start";
  find.psz = L"6";
  EXPECT_EQ(ListView_FindItem(list(), -1, &find), -1) << "the row labelled 6 went";
  port().delete_all_rows();
  EXPECT_EQ(ListView_GetItemCount(list()), 0);
  EXPECT_EQ(port().selected_row(), -1);
}

TEST_F(LibraryWindowTest, RowsBelowAFullPageReachTheListSoonAfter) {
  open();
  std::vector<ResultList::RowTexts> page(200, ResultList::RowTexts{"t", "", "", "", ""});
  port().append_numbered_rows(page);
  EXPECT_EQ(ListView_GetItemCount(list()), 200) << "rows on an empty page show at once";
  for (int i = 0; i < 20; ++i) port().append_numbered_rows(page);
  EXPECT_EQ(port().row_count(), 4200) << "the program counts every row at once";
  EXPECT_EQ(port().cell_text(4199, 0), "4200");
  pump_until([&] { return ListView_GetItemCount(list()) == 4200; }, 2000);
  EXPECT_EQ(ListView_GetItemCount(list()), 4200) << "the list is told of the rest soon after";
  port().delete_row(0);
  EXPECT_EQ(ListView_GetItemCount(list()), 4199) << "a deletion tells the count at once";
  port().delete_all_rows();
  EXPECT_EQ(ListView_GetItemCount(list()), 0);
}

TEST_F(LibraryWindowTest, TheMenuMovesTheSelectedEntry) {
  add("甲", "系统工具");
  add("乙", "系统工具");
  open();
  click(control(Control::图形按钮14));
  ASSERT_EQ(port().row_count(), 2);
  std::wstring first_item;
  std::thread user([&] {
    HWND menu = wait_for_process_window(L"#32768", 5000);
    if (menu == nullptr) return;
    auto hmenu = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    wchar_t caption[64] = {};
    if (hmenu != nullptr) GetMenuStringW(hmenu, 0, caption, 64, MF_BYPOSITION);
    first_item = caption;
    // 移动到, its submenu, down to its seventh item (数据库类), chosen.
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
    for (int i = 0; i < 6; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  });
  // A right click on the second row selects it and raises the list's right click.
  RECT row = {};
  ListView_GetItemRect(list(), 1, &row, LVIR_BOUNDS);
  const LPARAM at = MAKELPARAM(row.left + 60, (row.top + row.bottom) / 2);
  PostMessageW(list(), WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(list(), WM_RBUTTONUP, 0, at);
  pump_for(300);
  user.join();
  EXPECT_EQ(first_item, L"移动到");
  EXPECT_EQ(stored(kFieldCategory), (std::vector<std::string>{"系统工具", "数据库类"}));
  EXPECT_EQ(port().row_count(), 1);
  EXPECT_EQ(port().cell_text(0, 1), "甲");
}

TEST_F(LibraryWindowTest, TheSearchButtonSearchesTheLibrary) {
  add("网络源码", "");
  add("代码", "");
  add("源码大全", "");
  open();
  show_page(kSearchPage);
  SetWindowTextW(control(Control::编辑框1), L"源码");
  click(control(Control::图形按钮1));
  EXPECT_EQ(window_->current_page(), kLibraryPage);
  ASSERT_EQ(port().row_count(), 2);
  EXPECT_EQ(shown_cell(0, 1), L"网络源码");
  EXPECT_EQ(shown_cell(1, 1), L"源码大全");

  SetWindowTextW(control(Control::编辑框1), L"\u3000 ");
  BoxAnswerer box;
  click(control(Control::图形按钮1));
  EXPECT_EQ(box.text(), L"请重新输入您要搜索的内容");
  EXPECT_EQ(box.caption(), L"提示");
}

TEST_F(LibraryWindowTest, TheFormTakesAChosenFileAndAddsTheEntry) {
  const std::wstring file = folder_.path() + L"\\源码\\工具.e";
  put_file(file, "the source");
  // A known last-write time, given in local time.
  SYSTEMTIME local = {2013, 10, 5, 25, 9, 5, 7, 0};
  FILETIME local_time = {}, utc = {};
  SystemTimeToFileTime(&local, &local_time);
  LocalFileTimeToFileTime(&local_time, &utc);
  HANDLE handle = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  SetFileTime(handle, nullptr, nullptr, &utc);
  CloseHandle(handle);
  open();
  show_page(kManagementPage);

  std::thread user([&] { answer_file_dialog(file); });
  click(control(Control::图形按钮4));
  pump_until([&] { return !port().control_text(Control::编辑框2).empty(); }, 5000);
  user.join();
  EXPECT_EQ(port().control_text(Control::编辑框2), "工具");
  EXPECT_EQ(port().control_text(Control::编辑框3), "0.01 KB");
  EXPECT_EQ(port().control_text(Control::编辑框5), "2013-10-25 9:5:7");
  EXPECT_EQ(pending_, "工具.e");

  choose_item(Control::组合框1, 3);
  EXPECT_EQ(port().control_text(Control::标签2), " ★★★☆☆");
  choose_item(Control::组合框2, 5);
  EXPECT_EQ(port().control_text(Control::标签3), " 图形图像");

  {
    BoxAnswerer box;
    click(control(Control::图形按钮5));
    EXPECT_EQ(box.text(), L"源码添加成功!");
    EXPECT_EQ(box.caption(), L"信息：");
  }
  EXPECT_EQ(stored(kFieldTitle), std::vector<std::string>{"工具"});
  EXPECT_EQ(stored(kFieldRating), std::vector<std::string>{"★★★☆☆"});
  EXPECT_EQ(stored(kFieldCategory), std::vector<std::string>{"图形图像"});
  EXPECT_EQ(stored(kFieldAddress), std::vector<std::string>{"工具.e"});
  ASSERT_TRUE(store_open(library_));
  go_first();
  EXPECT_EQ(unpack_attachment(read_field(kFieldAttachment).bytes()).str(), "the source")
      << "read from the folder the dialog left current";
  store_close();

  {
    BoxAnswerer again;
    click(control(Control::图形按钮5));
    EXPECT_EQ(again.text(), L"该源码数据库中已存在");
  }

  // A name GBK can't spell: shown with "?", read by its own characters all the same.
  const std::wstring tune = folder_.path() + L"\\\u66F2\u266B.e";  // 曲♫.e
  put_file(tune, "tune");
  std::thread chooser([&] { answer_file_dialog(tune); });
  click(control(Control::图形按钮4));
  pump_until([&] { return port().control_text(Control::编辑框2) == "曲?"; }, 5000);
  chooser.join();
  EXPECT_EQ(pending_, "曲?.e");
  {
    BoxAnswerer box;
    click(control(Control::图形按钮5));
    EXPECT_EQ(box.text(), L"源码添加成功!");
  }
  ASSERT_TRUE(store_open(library_));
  go_first();
  ASSERT_TRUE(find_record([] { return read_field(kFieldTitle).text() == "曲?"; }));
  EXPECT_EQ(unpack_attachment(read_field(kFieldAttachment).bytes()).str(), "tune");
  store_close();
}

TEST_F(LibraryWindowTest, AFolderImportShowsItsProgressAndCanBeStopped) {
  // Enough files for the import to take a while under Wine.
  const std::wstring tree = folder_.path() + L"\\树";
  CreateDirectoryW(tree.c_str(), nullptr);
  for (int i = 0; i < 600; ++i) {
    put_file(tree + L"\\源码" + std::to_wstring(i) + L".e", std::string(2000, 'x'));
  }
  open();
  show_page(kManagementPage);
  SendMessageW(control(Control::选择框3), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(control(Control::选择框3), BM_GETCHECK, 0, 0), BST_CHECKED);

  std::atomic<bool> saw_progress{false}, user_done{false};
  std::thread user([&] {
    if (!answer_folder_browser(tree)) {
      user_done = true;
      return;
    }
    // While the import runs, once some files are in (the progress names the folder and
    // counts them), 图形按钮2 is pressed again.
    HWND progress = control(Control::导入进度);
    for (int i = 0; i < 1000 && !saw_progress; ++i) {
      Sleep(10);
      const std::wstring text = window_text_of(progress);
      saw_progress = IsWindowVisible(progress) && text.find(L"正在导入") == 0 &&
                     text.find(L"新增 ") != std::wstring::npos &&
                     text.find(L"新增 0 ") == std::wstring::npos;
    }
    click_from_another_thread(control(Control::图形按钮2));
    user_done = true;
  });
  click(control(Control::图形按钮2));
  // The user reads the window's texts: the window answers until the user is done.
  pump_until([&] { return user_done.load(); }, 30000);
  user.join();
  EXPECT_TRUE(saw_progress) << "the progress showed while the import ran";
  EXPECT_FALSE(IsWindowVisible(control(Control::透明标签9))) << "the caption made room";
  const std::wstring said = window_text_of(control(Control::导入进度));
  EXPECT_EQ(said.find(L"导入已停止："), 0u) << win32::narrow_utf8(said);
  const size_t stored_count = stored(kFieldTitle).size();
  EXPECT_GT(stored_count, 0u);
  EXPECT_LT(stored_count, 600u) << "the import stopped before its end";

  // Once more, to the end: the rest is added, what is there is skipped.
  {
    FolderAnswerer again(tree);
    click(control(Control::图形按钮2));
  }
  EXPECT_EQ(stored(kFieldTitle).size(), 600u);
  const std::wstring done = window_text_of(control(Control::导入进度));
  EXPECT_EQ(done, L"导入完成：\r\n新增 " + std::to_wstring(600 - stored_count) + L" 个，已有 " +
                      std::to_wstring(stored_count) + L" 个");
  std::vector<std::string> addresses = stored(kFieldAddress);
  EXPECT_EQ(addresses[0].rfind(win32::narrow(tree) + "\\源码", 0), 0u) << addresses[0];
}

// A directory link back to its own parent, as a profile's old "Application Data" junction.
TEST_F(LibraryWindowTest, ALinkBackUpTheTreeIsNotFollowed) {
  const std::wstring tree = folder_.path() + L"\\profile";
  put_file(tree + L"\\AppData\\x.e", "x");
  const std::wstring link = tree + L"\\Application Data";
  WIN32_FIND_DATAW found = {};
  HANDLE probe = INVALID_HANDLE_VALUE;
  if (CreateSymbolicLinkW(link.c_str(), tree.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
    probe = FindFirstFileW(link.c_str(), &found);
  }
  if (probe == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no directory links can be made here";
  FindClose(probe);
  if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    GTEST_SKIP() << "links are not reported as reparse points here";
  }
  open();
  show_page(kManagementPage);
  SendMessageW(control(Control::选择框3), BM_CLICK, 0, 0);
  {
    FolderAnswerer user(tree);
    click(control(Control::图形按钮2));
  }
  EXPECT_EQ(stored(kFieldTitle), std::vector<std::string>{"x"});
}

TEST_F(LibraryWindowTest, ANameOutsideGbkIsReadByItsOwnCharacters) {
  // The folder chosen and a file in it both have a character GBK lacks (♫).
  const std::wstring tree = folder_.path() + L"\\profile\u266B";
  put_file(tree + L"\\AppData\\x.e", "x");
  put_file(tree + L"\\\u266B.e", "tune");  // ♫: no GBK form
  open();
  show_page(kManagementPage);
  SendMessageW(control(Control::选择框3), BM_CLICK, 0, 0);
  {
    FolderAnswerer user(tree);
    click(control(Control::图形按钮2));
  }
  std::vector<std::string> titles = stored(kFieldTitle);
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (std::vector<std::string>{"?", "x"}));
  ASSERT_TRUE(store_open(library_));
  go_first();
  EXPECT_TRUE(find_record([] { return read_field(kFieldTitle).text() == "?"; }));
  EXPECT_EQ(unpack_attachment(read_field(kFieldAttachment).bytes()).str(), "tune");
  EXPECT_EQ(read_field(kFieldAddress).text(), win32::narrow(tree) + "\\?.e");
  store_close();
}

}  // namespace
