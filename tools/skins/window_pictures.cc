// Takes the pictures of the skinned program that README shows: the window under skins
// 13 (the program's), 2 and 32 on each page, both pop-up menus, and a download question
// beside the window. Windows, under a display:
//   window_pictures OUT_FOLDER
// It builds the program's own window with the program's handlers, in a folder holding a
// library of a few entries without a package (its own folder: the program's directory),
// drives it, and saves the whole screen once per picture as OUT_FOLDER\NAME.bmp, with a
// line "NAME LEFT TOP WIDTH HEIGHT" per picture in OUT_FOLDER\pictures.txt: the part of
// the screen that shows it. tools/skins/window_pictures.sh turns them into PNG files.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/carried_data.h"
#include "app/main_window.h"
#include "app/main_window_port.h"
#include "app/program_directory.h"
#include "app/program_handlers.h"
#include "store/empty_library.h"
#include "store/source_record.h"
#include "store/store.h"
#include "win32/code_page.h"
#include "window_driver.h"

namespace {

using AttachSkin = int(WINAPI*)(const void* data, int length, const char* text, int, int, int);

struct Tool {
  std::wstring out;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<MainWindowPort> port;
  ExternalHandlers handlers;
  FILE* list = nullptr;
  // The steps, one per tick of the timer; a step may show a menu, whose own loop goes on
  // ticking, so the next steps run inside it.
  std::vector<std::function<void()>> steps;
  size_t next = 0;
  int failures = 0;
};
Tool tool;

void fail(const char* what) {
  std::fprintf(stderr, "window_pictures: %s\n", what);
  ++tool.failures;
}

RECT rect_of(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return r;
}

RECT around(RECT a, RECT b) {
  RECT r;
  UnionRect(&r, &a, &b);
  InflateRect(&r, 8, 8);
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, GetSystemMetrics(SM_CXSCREEN));
  r.bottom = std::min<LONG>(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  return r;
}

void save(const std::string& name, const RECT& part) {
  if (!save_window_picture(GetDesktopWindow(),
                           tool.out + L"\\" + win32::widen_utf8(name) + L".bmp")) {
    fail("a picture could not be saved");
  }
  std::fprintf(tool.list, "%s %ld %ld %ld %ld\n", name.c_str(), part.left, part.top,
               part.right - part.left, part.bottom - part.top);
  std::fflush(tool.list);
}

HWND process_window(const wchar_t* window_class) {
  return wait_for_process_window(window_class, 0);
}

void attach_skin(int number) {
  static AttachSkin attach = reinterpret_cast<AttachSkin>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"SkinH_EL.dll"), "SkinH_AttachRes")));
  if (attach == nullptr) return fail("the program's skin library is not loaded");
  const std::string_view skin = carried_skin(number);
  if (attach(skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0) != 1) fail("skin refused");
}

// Puts the mouse where a menu should open (it opens at the mouse).
void point_at(HWND control, int dx, int dy) {
  RECT r = rect_of(control);
  SetCursorPos(r.left + dx, r.top + dy);
}

void press_key(WORD key) {
  HWND menu = process_window(L"#32768");
  if (menu == nullptr) return fail("no menu to press a key in");
  PostMessageW(menu, WM_KEYDOWN, key, 0);
}

// Widens the rectangle at p to take in hwnd when it is a menu of this process that shows.
BOOL CALLBACK take_in_menu(HWND hwnd, LPARAM p) {
  wchar_t name_of_class[16] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  GetClassNameW(hwnd, name_of_class, 16);
  if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) &&
      std::wstring(name_of_class) == L"#32768") {
    auto* r = reinterpret_cast<RECT*>(p);
    *r = around(*r, rect_of(hwnd));
  }
  return TRUE;
}

void save_with_menus(const std::string& name) {
  RECT part = rect_of(tool.window->hwnd());
  EnumWindows(take_in_menu, reinterpret_cast<LPARAM>(&part));
  save(name, part);
}

// A library of a few entries found on the web and not yet downloaded.
bool make_library() {
  const std::string path = win32::narrow(program_directory()) + "\\Code.edb";
  DeleteFileW(win32::widen(path).c_str());
  DeleteFileW(win32::widen(win32::narrow(program_directory()) + "\\Code.EDT").c_str());
  if (!create_empty_library(path).is_ok() || !store_open(path)) return false;
  const char* titles[] = {"超级列表框排序模块", "多线程下载示例", "注册表操作类", "托盘图标演示"};
  int n = 0;
  for (const char* title : titles) {
    ++n;
    const Status added = append_record({
        {kFieldTitle, title},
        {kFieldCategory, "系统工具"},
        {kFieldSize, std::to_string(100 + 37 * n) + "KB"},
        {kFieldRating, "★★★★☆"},
        {kFieldUpdateTime, "2009-0" + std::to_string(n) + "-1" + std::to_string(n)},
        {kFieldAddress, "http://source-site.invalid/soft/" + std::to_string(1000 + n) + ".html"},
    });
    if (!added.is_ok()) return false;
  }
  store_close();
  return true;
}

void add_steps() {
  auto& s = tool.steps;
  auto wait = [](int ticks) {
    for (int i = 0; i < ticks; ++i) tool.steps.push_back([] {});
  };
  wait(3);
  for (int number : {13, 2, 32}) {
    s.push_back([number] { attach_skin(number); });
    for (int page = 0; page < 3; ++page) {
      s.push_back([page] { tool.port->set_current_page(page); });
      wait(2);
      s.push_back([number, page] {
        save("skin" + std::to_string(number) + "_page" + std::to_string(page),
             rect_of(tool.window->hwnd()));
      });
    }
  }
  s.push_back([] { attach_skin(13); });
  s.push_back([] {
    tool.port->set_current_page(0);
    tool.handlers.list_category(*tool.port, "系统工具");
  });
  wait(2);
  // The menu button's menu.
  s.push_back([] {
    point_at(tool.window->control(Control::图形按钮10), 4, 10);
    tool.port->pop_up_menu(PopupMenu::kMainMenu);  // returns when the menu closes
  });
  wait(2);
  s.push_back([] { press_key(VK_DOWN); });
  wait(1);
  s.push_back([] { save_with_menus("menu_button_menu"); });
  s.push_back([] { EndMenu(); });
  wait(1);
  // The list's right-click menu, its sub-menu open, on the first row.
  s.push_back([] {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(tool.window->control(Control::超级列表框1), LVM_SETITEMSTATE, 0,
                 reinterpret_cast<LPARAM>(&item));
    point_at(tool.window->control(Control::超级列表框1), 160, 12);
    tool.handlers.show_entry_menu(*tool.port);  // returns when the menu closes
  });
  wait(2);
  s.push_back([] { press_key(VK_DOWN); });
  s.push_back([] { press_key(VK_RIGHT); });
  wait(1);
  s.push_back([] { press_key(VK_DOWN); });
  s.push_back([] { press_key(VK_DOWN); });
  wait(1);
  s.push_back([] { save_with_menus("list_menu"); });
  s.push_back([] { EndMenu(); });
  wait(1);
  // A double-click on a row not yet downloaded asks from the delivery worker.
  s.push_back([] { tool.handlers.open_selected_entry(*tool.port); });
  wait(4);
  s.push_back([] {
    HWND box = process_window(L"#32770");
    if (box == nullptr) return fail("no download question appeared");
    save("download_question", around(rect_of(tool.window->hwnd()), rect_of(box)));
    PostMessageW(box, WM_COMMAND, IDNO, 0);
  });
  wait(2);
  s.push_back([] { DestroyWindow(tool.window->hwnd()); });
}

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
  if (tool.next >= tool.steps.size()) return;
  // Taken before it runs: a step that shows a menu lets later ticks run meanwhile.
  const size_t step = tool.next++;
  tool.steps[step]();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_pictures OUT_FOLDER\n");
    return 2;
  }
  tool.out = argv[1];
  tool.list = _wfopen((tool.out + L"\\pictures.txt").c_str(), L"w");
  if (tool.list == nullptr) return 1;
  if (!make_library()) {
    std::fprintf(stderr, "window_pictures: the library could not be made\n");
    return 1;
  }
  WindowPlatform platform = default_platform();
  platform.read_announcement_page = nullptr;
  tool.window = MainWindow::create(platform);
  if (!tool.window) return 1;
  tool.port = std::make_unique<MainWindowPort>(*tool.window);
  tool.handlers = program_handlers(*tool.port);
  tool.window->start(*tool.port, tool.handlers);
  add_steps();
  SetTimer(nullptr, 0, 400, tick);
  MainWindow::run_message_loop();
  std::fclose(tool.list);
  return tool.failures == 0 && tool.next == tool.steps.size() ? 0 : 1;
}
