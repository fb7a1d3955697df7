// The built program, moyan.exe, started as a user starts it: the icon it carries is the
// one its caption and the notification area show.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "icon_pixels.h"
#include "window_driver.h"

namespace {

std::wstring program_path() {
  std::wstring relative = MOYAN_PROGRAM_FROM_TESTS;
  for (wchar_t& c : relative) {
    if (c == L'/') c = L'\\';
  }
  return beside_this_program(relative);
}

Pixels ours(int size) {
  return ico_image(beside_this_program(L"program.ico"), size);
}

TEST(Program, CarriesItsIconAndManifest) {
  HMODULE program = LoadLibraryExW(program_path().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr) << "cannot read the resources of moyan.exe";
  EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr)
      << "moyan.exe carries no manifest";
  EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr)
      << "moyan.exe carries no icon group";
  for (int size : {16, 32}) {
    auto icon = static_cast<HICON>(
        LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr) << "no " << size << " px icon in moyan.exe";
    const COLORREF back = RGB(90, 140, 60);
    EXPECT_LE(largest_difference(drawn_icon(icon, size, back), over_background(ours(size), back)),
              2)
        << "moyan.exe's " << size << " px icon is not the drawn one";
    DestroyIcon(icon);
  }
  FreeLibrary(program);
}

struct Found {
  DWORD process;
  HWND window;
};

BOOL CALLBACK main_window_of(HWND hwnd, LPARAM lparam) {
  auto* found = reinterpret_cast<Found*>(lparam);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (process == found->process && std::wstring(name) == L"MoyanMainWindow" &&
      IsWindowVisible(hwnd)) {
    found->window = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Looks for the program's 16 px image in a part of the screen, giving the screen time to
// show it.
bool shows_our_small_icon(const RECT& area) {
  Pixels small = ours(16);
  for (int attempt = 0; attempt < 30; ++attempt) {
    if (find_opaque_part(screen_pixels(area), small, 8, nullptr)) return true;
    Sleep(100);
  }
  return false;
}

TEST(Program, CaptionAndTrayShowItsIcon) {
  ASSERT_FALSE(ours(16).empty()) << "program.ico has no 16 px image";
  std::wstring command = L"\"" + program_path() + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process))
      << "moyan.exe could not be started";
  Found found = {process.dwProcessId, nullptr};
  // The 32-bit program under an emulated Wine takes some seconds to show its window.
  for (int attempt = 0; attempt < 600 && found.window == nullptr; ++attempt) {
    EnumWindows(main_window_of, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) Sleep(100);
  }
  EXPECT_NE(found.window, nullptr) << "moyan.exe showed no window";
  if (found.window != nullptr) {
    RECT window;
    GetWindowRect(found.window, &window);
    RECT caption = {window.left, window.top, window.left + 48,
                    window.top + GetSystemMetrics(SM_CYCAPTION) + 8};
    EXPECT_TRUE(shows_our_small_icon(caption)) << "the caption does not show the program's icon";

    PostMessageW(found.window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    HWND tray = nullptr;
    for (int attempt = 0; attempt < 50 && tray == nullptr; ++attempt) {
      tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
      if (tray == nullptr || !IsWindowVisible(tray)) tray = nullptr, Sleep(100);
    }
    if (tray != nullptr) {
      RECT area;
      GetWindowRect(tray, &area);
      EXPECT_TRUE(shows_our_small_icon(area)) << "the tray does not show the program's icon";
    } else {
      std::cout << "[ note ] the display has a notification area of its own; tray not read\n";
    }
    PostMessageW(found.window, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0) << "moyan.exe did not end";
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  EXPECT_EQ(code, 0u) << "moyan.exe's exit code";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
