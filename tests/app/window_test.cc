// The real MainWindow under Wine, driven through its message queue as a user would.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/app_config.h"
#include "app/layout.h"
#include "app/window_messages.h"
#include "icon_pixels.h"
#include "store/empty_library.h"
#include "store/store.h"
#include "win32/code_page.h"
#include "win32/owned_handle.h"
#include "window_driver.h"
#include "window_fixture.h"

namespace {

bool page_shown(const MainWindow& window, int page) {
  // The first control of each page tells whether the page is showing.
  const Control first[kPageCount] = {Control::超级列表框1, Control::编辑框1, Control::分组框3};
  return IsWindowVisible(window.control(first[page])) != 0;
}

TEST_F(WindowTest, StartsCentredWithPageZeroAndAnEmptyList) {
  open();
  HWND hwnd = window_->hwnd();
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 645);
  EXPECT_EQ(r.bottom - r.top, 541);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 645) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 541) / 2);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(window_text_of(hwnd), L"墨砚工坊V1.0");
  EXPECT_EQ(window_->current_page(), 0);
  EXPECT_TRUE(page_shown(*window_, 0));
  EXPECT_FALSE(page_shown(*window_, 1));
  EXPECT_FALSE(page_shown(*window_, 2));
  EXPECT_EQ(port().row_count(), 0);
  EXPECT_TRUE(checked(Control::选择框1)) << "本地搜索 starts checked";
  for (Control box : {Control::选择框2, Control::选择框3, Control::选择框4, Control::选择框5}) {
    EXPECT_FALSE(checked(box)) << static_cast<int>(box);
  }
  for (Control c : {Control::编辑框1, Control::编辑框6, Control::标签2, Control::标签3}) {
    EXPECT_EQ(port().control_text(c), "") << static_cast<int>(c);
  }
  EXPECT_EQ(port().control_text(Control::标签1).size(), 98u);
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
}

TEST_F(WindowTest, ResultListHasSixColumnsWithoutHeaderAndAHiddenFifth) {
  open();
  HWND list = control(Control::超级列表框1);
  LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  EXPECT_TRUE(style & LVS_NOCOLUMNHEADER);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_EQ((style & LVS_TYPEMASK), LVS_REPORT);
  DWORD ex = ListView_GetExtendedListViewStyle(list);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
  const int widths[] = {50, 200, 80, 80, 135, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ListView_GetColumnWidth(list, i), widths[i]) << i;
}

TEST_F(WindowTest, ResultListOperations) {
  open();
  ResultList& list = port();
  EXPECT_EQ(list.insert_row(), 0);
  EXPECT_EQ(list.insert_row(), 1);
  EXPECT_EQ(list.insert_row(), 2);
  const std::string long_text(3000, 'x');
  struct Cell {
    int row, column;
    std::string text;
  };
  const Cell cells[] = {{0, 0, "1"},
                        {0, 1, "网络源码"},
                        {1, 5, "http://a/b.html"},
                        {2, 1, long_text},
                        {1, 4, "2013-10-25 9:5:7"}};
  for (const Cell& c : cells) list.set_cell_text(c.row, c.column, c.text);
  for (const Cell& c : cells) {
    EXPECT_EQ(list.cell_text(c.row, c.column), c.text) << c.row << "," << c.column;
  }
  EXPECT_EQ(list.cell_text(7, 1), "") << "a row that doesn't exist";
  EXPECT_EQ(list.cell_text(-1, 1), "");
  list.set_cell_text(9, 1, "nowhere");
  EXPECT_EQ(list.row_count(), 3);
  EXPECT_EQ(list.selected_row(), -1);
  ListView_SetItemState(control(Control::超级列表框1), 1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(list.selected_row(), 1);
  list.delete_row(5);
  list.delete_row(-1);
  EXPECT_EQ(list.row_count(), 3) << "an index that names no row changes nothing";
  list.delete_row(0);
  EXPECT_EQ(list.row_count(), 2);
  EXPECT_EQ(list.cell_text(0, 5), "http://a/b.html");
  list.delete_all_rows();
  EXPECT_EQ(list.row_count(), 0);
}

TEST_F(WindowTest, WorkerListOperationsAreCarriedOutByTheWindowThread) {
  open();
  ResultList& list = port();
  std::atomic<bool> done{false};
  std::string read_back;
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) {
      int row = list.insert_row();
      list.set_cell_text(row, 0, std::to_string(list.row_count()));
      list.set_cell_text(row, 1, "标题" + std::to_string(i));
    }
    read_back = list.cell_text(19, 1);
    done = true;
  });
  bool finished = pump_until([&] { return done.load(); }, 10000);
  worker.join();
  ASSERT_TRUE(finished) << "the worker's list operations were not carried out";
  EXPECT_EQ(list.row_count(), 20);
  EXPECT_EQ(read_back, "标题19");
  EXPECT_EQ(list.cell_text(19, 0), "20");
}

TEST_F(WindowTest, WholeRowsAreNumberedByTheListsCount) {
  open();
  ResultList& list = port();
  list.insert_row();  // a row that was there before: the numbers count it
  std::atomic<bool> done{false};
  int first = -1, second = -1;
  std::thread worker([&] {
    first =
        list.append_numbered_row({"网络源码", "1.5 KB", "★★★☆☆", "2013-10-25 9:5:7", "http://a/b"});
    second = list.append_numbered_row({"源码大全", "", "", "", ""});
    done = true;
  });
  bool finished = pump_until([&] { return done.load(); }, 10000);
  worker.join();
  ASSERT_TRUE(finished) << "the worker's rows were not carried out";
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  const char* expected[] = {"2", "网络源码", "1.5 KB", "★★★☆☆", "2013-10-25 9:5:7", "http://a/b"};
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(list.cell_text(1, column), expected[column]) << "column " << column;
  }
  EXPECT_EQ(list.cell_text(2, 0), "3");
  EXPECT_EQ(list.cell_text(2, 1), "源码大全");
}

// Which of the first `rows` rows of the list show ink (text darker than the grid) in their
// id cells, as the list has drawn them.
std::vector<bool> rows_with_ink(HWND list, int rows) {
  const Pixels shown = client_pixels(list);
  std::vector<bool> inked;
  for (int row = 0; row < rows; ++row) {
    RECT cell = {};
    cell.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    bool ink = false;
    for (int y = std::max<int>(cell.top, 0); y < std::min<int>(cell.bottom, shown.height); ++y) {
      for (int x = 0; x < ListView_GetColumnWidth(list, 0) && x < shown.width && !ink; ++x) {
        const uint32_t p = shown.at(x, y);
        ink = std::min({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF}) < 100;
      }
    }
    inked.push_back(ink);
  }
  return inked;
}

// Rows reach the list from workers while the window's thread has other messages to handle:
// the rows the list shows are on screen as soon as it is told of them, and nothing wipes
// them before they are painted again.
TEST_F(WindowTest, RowsToldToTheListAreOnScreenAtOnce) {
  open();
  HWND list = control(Control::超级列表框1);
  const int page = ListView_GetCountPerPage(list);
  int added = 0;
  for (int batch : {1, 4, 30}) {  // the first rows, more within the page, past the page
    std::vector<ResultList::RowTexts> rows;
    for (int i = 0; i < batch; ++i) rows.push_back({"标题", "1 KB", "★", "2012-04-02", ""});
    added += batch;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      port().append_numbered_rows(rows);
      port().set_control_text(Control::kMainWindow, "新增" + std::to_string(added) + "条");
      done = true;
    });
    // Only the worker's sent messages run meanwhile, as while a harvest keeps the window's
    // thread busy: no paint is let through.
    MSG msg;
    while (!done) {
      PeekMessageW(&msg, nullptr, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
      Sleep(1);
    }
    worker.join();
    const int told = std::min(ListView_GetItemCount(list), page);
    ASSERT_GT(told, 0);
    EXPECT_EQ(rows_with_ink(list, told), std::vector<bool>(told, true))
        << "after " << added << " rows: rows told to the list are not on screen";
  }
  // What invalidates the list and has it wiped before the next paint (a change of another
  // window over it, say) leaves the rows in sight until they are painted again.
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
  EXPECT_EQ(rows_with_ink(list, page), std::vector<bool>(page, true))
      << "the list was wiped before its paint";
  // Its paint covers what was there: a shorter list leaves no rows of the longer one.
  port().delete_all_rows();
  port().append_numbered_row({"标题", "", "", "", ""});
  pump_until([&] { return GetUpdateRect(list, nullptr, FALSE) == FALSE; }, 5000);
  std::vector<bool> one(page, false);
  one[0] = true;
  EXPECT_EQ(rows_with_ink(list, page), one) << "rows of the earlier list are still shown";
}

// A web search's result passes through the caption: the window's title comes back after
// the passing time, not sooner; a caption set meanwhile stays; a second passing text starts
// the time afresh.
TEST_F(WindowTest, PassingCaptionGivesWayToTheTitle) {
  open();
  constexpr int kPassingMs = 300;
  constexpr int kTimerSlack = 30;  // the system's clock ticks
  window_->set_passing_caption_time(kPassingMs);
  const std::wstring title = win32::widen(kMainWindowTitle);
  auto caption = [&] { return window_text_of(window_->hwnd()); };
  auto title_back = [&] { return pump_until([&] { return caption() == title; }, 5000); };

  ULONGLONG shown = GetTickCount64();
  std::thread worker([&] { port().show_passing_caption("甲"); });  // as a harvest's worker
  pump_until([&] { return caption() == L"甲"; }, 5000);
  worker.join();
  ASSERT_TRUE(title_back()) << "the title did not come back";
  EXPECT_GE(GetTickCount64() - shown, static_cast<ULONGLONG>(kPassingMs - kTimerSlack))
      << "the title came back before the passing time";

  port().show_passing_caption("乙");
  port().set_control_text(Control::kMainWindow, "丙");
  pump_for(kPassingMs * 2);
  EXPECT_EQ(caption(), L"丙") << "a caption set after a passing one did not stay";

  port().show_passing_caption("丁");
  pump_for(kPassingMs * 2 / 3);
  shown = GetTickCount64();
  port().show_passing_caption("戊");
  EXPECT_EQ(caption(), L"戊");
  ASSERT_TRUE(title_back());
  EXPECT_GE(GetTickCount64() - shown, static_cast<ULONGLONG>(kPassingMs - kTimerSlack))
      << "the second passing text did not start the time afresh";
}

TEST_F(WindowTest, EachPageButtonShowsItsPage) {
  open();
  struct Case {
    Control button;
    int page;
  };
  const Case cases[] = {{Control::图形按钮22, 1},
                        {Control::图形按钮23, 2},
                        {Control::图形按钮6, 0},
                        {Control::图形按钮23, 2},
                        {Control::图形按钮22, 1}};
  port().insert_row();
  for (const Case& c : cases) {
    click(control(c.button));
    EXPECT_EQ(window_->current_page(), c.page) << "after button " << static_cast<int>(c.button);
    for (int page = 0; page < 3; ++page) {
      EXPECT_EQ(page_shown(*window_, page), page == c.page)
          << "page " << page << " after button " << static_cast<int>(c.button);
    }
  }
  EXPECT_EQ(port().row_count(), 1) << "switching pages keeps the rows";
}

TEST_F(WindowTest, SearchAreaBoxesExcludeEachOther) {
  open();
  struct Case {
    const char* name;
    Control click;
    bool local, web;
  };
  // One sequence of clicks, each row the state after its click.
  const Case steps[] = {
      {"web while local is checked", Control::选择框2, false, true},
      {"web again", Control::选择框2, false, false},
      {"local", Control::选择框1, true, false},
      {"local again", Control::选择框1, false, false},
      {"web", Control::选择框2, false, true},
      {"local", Control::选择框1, true, false},
  };
  for (const Case& s : steps) {
    SendMessageW(control(s.click), BM_CLICK, 0, 0);
    pump_for(10);
    EXPECT_EQ(checked(Control::选择框1), s.local) << s.name;
    EXPECT_EQ(checked(Control::选择框2), s.web) << s.name;
  }
}

TEST_F(WindowTest, MinimiseGoesToOneTrayIconAndDoubleClickRestores) {
  open();
  HWND hwnd = window_->hwnd();
  NOTIFYICONDATAW probe = {};
  probe.cbSize = sizeof(probe);
  probe.hWnd = hwnd;
  probe.uID = 1;
  EXPECT_FALSE(window_->tray().shown()) << "no icon before the first minimising";

  ShowWindow(hwnd, SW_MINIMIZE);
  pump_for(50);
  EXPECT_FALSE(IsWindowVisible(hwnd)) << "minimised window should be hidden";
  EXPECT_TRUE(window_->tray().shown());
  EXPECT_EQ(window_->tray().times_added(), 1);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon is not in the tray";

  for (UINT other : {WM_LBUTTONUP, WM_RBUTTONUP, WM_CONTEXTMENU}) {
    SendMessageW(hwnd, kMsgTrayEvent, 1, other);
    pump_for(10);
    EXPECT_FALSE(IsWindowVisible(hwnd)) << "tray message " << other << " should do nothing";
  }
  SendMessageW(hwnd, kMsgTrayEvent, 1, WM_LBUTTONDBLCLK);
  pump_for(50);
  EXPECT_TRUE(IsWindowVisible(hwnd)) << "double-click should show the window";
  EXPECT_FALSE(IsIconic(hwnd)) << "double-click should restore the window";
  EXPECT_TRUE(window_->tray().shown()) << "the icon stays until the window goes";

  ShowWindow(hwnd, SW_MINIMIZE);
  pump_for(50);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(window_->tray().times_added(), 1) << "minimising again must not add a second icon";
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));

  // Explorer restarted: the icon is gone from the new notification area until re-added.
  Shell_NotifyIconW(NIM_DELETE, &probe);
  SendMessageW(hwnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon was not added again";

  window_.reset();
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon outlives the window";
}

// Chooses the first item of the menu that pops up next in this process; gives its caption.
std::wstring choose_first_menu_item(const std::function<void()>& pop_up) {
  std::wstring first_item;
  std::thread user([&] {
    HWND menu = wait_for_process_window(L"#32768", 5000);
    if (menu == nullptr) return;
    auto hmenu = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    wchar_t caption[64] = {};
    if (hmenu != nullptr) GetMenuStringW(hmenu, 0, caption, 64, MF_BYPOSITION);
    first_item = caption;
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  });
  pop_up();
  user.join();
  return first_item;
}

// Whether a file can be opened by a second opener who shares it with nobody: not while the
// library holds it open.
bool opens_unshared(const std::wstring& path) {
  win32::OwnedHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  return static_cast<bool>(file);
}

// The two ways a user ends the program from the window, with the program's own platform and
// a library that a handler still has open (as a listing has while it lets the menu run):
// "退出小助手" closes it before the window goes; the close picture leaves that to the end
// of the process.
TEST_F(WindowTest, EndingThroughTheMenuClosesTheLibraryAndTheClosePictureDoesNot) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder =
      std::wstring(temp) + L"moyan_ending_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring library = folder + L"\\Code.edb";
  struct Case {
    const char* how;
    bool through_menu;
  };
  for (const Case& c : {Case{"退出小助手", true}, Case{"the close picture", false}}) {
    DeleteFileW(library.c_str());
    DeleteFileW((folder + L"\\Code.EDT").c_str());
    ASSERT_TRUE(create_empty_library(win32::narrow(library)).is_ok());
    WindowPlatform platform = default_platform();
    platform.read_announcement_page = nullptr;
    open(platform);
    ASSERT_TRUE(store_open(win32::narrow(library)));
    ASSERT_FALSE(opens_unshared(library)) << "an open library is not held open";
    if (c.through_menu) {
      EXPECT_EQ(choose_first_menu_item([&] { click(control(Control::图形按钮10)); }), L"退出小助手")
          << "the menu of 图形按钮10";
    } else {
      click(control(Control::图形按钮13));
    }
    EXPECT_TRUE(run_message_loop_for(5000)) << c.how << ": the message loop did not end";
    EXPECT_FALSE(window_->exists()) << c.how;
    EXPECT_EQ(opens_unshared(library), c.through_menu)
        << c.how << (c.through_menu ? " left the library open" : " closed the library");
    store_close_all();
    window_.reset();
    port_.reset();
    drain_messages();
  }
  DeleteFileW(library.c_str());
  DeleteFileW((folder + L"\\Code.EDT").c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(WindowTest, AHandlerThatRequestsCloseRunsToItsEnd) {
  bool window_there_after_request = false;
  std::string text_after_request;
  handlers_.run_search = [&](WindowPort& port) {
    port.request_window_close();
    window_there_after_request = window_->exists();
    port.set_control_text(Control::编辑框1, "still running");
    text_after_request = port.control_text(Control::编辑框1);
  };
  open();
  click(control(Control::图形按钮1));
  EXPECT_TRUE(window_there_after_request);
  EXPECT_EQ(text_after_request, "still running");
  EXPECT_TRUE(run_message_loop_for(5000));
  EXPECT_FALSE(window_->exists());
}

TEST_F(WindowTest, NotAvailableShowsItsBoxWithTheDefaultCaption) {
  open();
  std::wstring caption, text;
  bool owned = true;
  std::thread user([&] {
    HWND box = wait_for_process_window(L"#32770", 5000);
    if (box == nullptr) return;
    caption = window_text_of(box);
    text = window_text_of(GetDlgItem(box, 0xFFFF));
    owned = GetWindow(box, GW_OWNER) != nullptr;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  click(control(Control::图形按钮3));
  user.join();
  EXPECT_EQ(caption, L"信息：");
  EXPECT_EQ(text, L"暂时此功能不开放");
  EXPECT_FALSE(owned) << "the box has no owner window";
}

TEST_F(WindowTest, AnnouncedContactWithAnEmptyBoxOpensPrefixAndSuffix) {
  open();
  click(control(Control::图形按钮9));
  ASSERT_EQ(urls_.size(), 1u);
  EXPECT_EQ(urls_[0], std::string(contact_link_prefix) + contact_link_suffix);
}

TEST_F(WindowTest, PressesMoveTheWindowOrReachTheirHandler) {
  struct Case {
    Control control;
    bool moves;
    std::string opens;
  };
  // Only the labels, the group boxes and the picture boxes without a handler move the
  // window; every other control sees the press itself.
  const Case cases[] = {
      {Control::kMainWindow, true, ""},
      {Control::标签1, true, ""},
      {Control::标签2, true, ""},
      {Control::标签3, true, ""},
      {Control::分组框1, true, ""},
      {Control::分组框2, true, ""},
      {Control::分组框3, true, ""},
      {Control::分组框4, true, ""},
      {Control::分组框5, true, ""},
      {Control::图片框1, true, ""},
      {Control::图片框8, true, ""},
      {Control::图片框2, false, community_site_url},
      {Control::图片框5, false, contact_link},
      {Control::透明标签1, false, ""},
      {Control::透明标签2, false, ""},
      {Control::透明标签7, false, ""},
      {Control::透明标签9, false, ""},
      {Control::图形按钮11, false, ""},
      {Control::图形按钮12, false, ""},
      {Control::选择夹1, false, ""},
  };
  open();
  for (const Case& c : cases) {
    urls_.clear();
    drags_ = 0;
    RECT before, after;
    GetWindowRect(window_->hwnd(), &before);
    press(c.control == Control::kMainWindow ? window_->hwnd() : control(c.control));
    GetWindowRect(window_->hwnd(), &after);
    bool moved = before.left != after.left || before.top != after.top;
    EXPECT_EQ(moved, c.moves) << "press on " << name_of(c.control);
    EXPECT_EQ(drags_, c.moves ? 1 : 0) << "press on " << name_of(c.control);
    if (c.opens.empty()) {
      EXPECT_TRUE(urls_.empty()) << "press on " << name_of(c.control);
    } else {
      EXPECT_EQ(urls_, std::vector<std::string>{c.opens}) << "press on " << name_of(c.control);
    }
  }
}

TEST_F(WindowTest, PagesPicturesForLooking) {
  // Saves each page as a picture when MOYAN_PAGE_PICTURES names a folder.
  wchar_t folder[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"MOYAN_PAGE_PICTURES", folder, MAX_PATH) == 0) GTEST_SKIP();
  open();
  for (int page = 0; page < 3; ++page) {
    window_->set_current_page(page);
    pump_for(300);
    std::wstring path = std::wstring(folder) + L"\\page" + std::to_wstring(page) + L".bmp";
    EXPECT_TRUE(save_window_picture(window_->hwnd(), path));
  }
}

TEST(FatalErrorBox, ShowsItsTextsAndEndsTheProcessWithMinusOne) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring helper = path;
  helper = helper.substr(0, helper.find_last_of(L'\\') + 1) + L"fatal_box_helper.exe";
  struct Case {
    std::wstring arguments;
    std::wstring text;
  };
  const std::wstring huge =
      std::to_wstring(sizeof(void*) == 8 ? uint64_t{1} << 62 : uint64_t{3} << 30);
  const Case cases[] = {
      {L"42 boom", L"运行时出错!\r\n\r\n错误代码：42\r\n\r\n错误信息：boom\r\n"},
      // Reported without the heap, the size in full: more than the address space holds
      // (2 GB for the 32-bit program).
      {L"out-of-memory " + huge,
       L"运行时出错!\r\n\r\n错误信息：分配 " + huge + L" 字节内存失败!\r\n"},
  };
  for (const Case& c : cases) {
    std::wstring command = L"\"" + helper + L"\" " + c.arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << "could not start " << win32::narrow(helper);
    HWND box = wait_for_window_of(process.dwProcessId, L"#32770", 10000);
    EXPECT_NE(box, nullptr) << "no fatal error box appeared";
    if (box != nullptr) {
      EXPECT_EQ(window_text_of(box), L"错误");
      wchar_t text[512] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 512);
      EXPECT_EQ(std::wstring(text), c.text);
      EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, static_cast<DWORD>(-1)) << "the fatal path ends with exit code -1";
    if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace
