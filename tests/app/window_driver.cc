#include "window_driver.h"

#include <vector>

namespace {

void dispatch_one(const MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

struct Search {
  DWORD process;
  const wchar_t* window_class;
  HWND found;
};

BOOL CALLBACK match_window(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (process == search->process && IsWindowVisible(hwnd) &&
      wcscmp(name, search->window_class) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool pump_until(const std::function<bool()>& done, int timeout_ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > timeout_ms) return done();
    MSG msg;
    bool any = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return done();
      }
      dispatch_one(msg);
    }
    if (!any) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void pump_for(int ms) {
  pump_until([] { return false; }, ms);
}

void click(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  pump_for(30);
}

void press(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  pump_for(30);
}

namespace {
bool* loop_timed_out = nullptr;
// A timer procedure is called with the system's calling convention, which a lambda can't
// take on 32-bit Windows.
void CALLBACK end_message_loop(HWND, UINT, UINT_PTR, DWORD) {
  *loop_timed_out = true;
  PostQuitMessage(0);
}
}  // namespace

bool run_message_loop_for(int timeout_ms) {
  bool timed_out = false;
  loop_timed_out = &timed_out;
  UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(timeout_ms), end_message_loop);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch_one(msg);
  KillTimer(nullptr, timer);
  return !timed_out;
}

void drain_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) dispatch_one(msg);
  }
}

HWND wait_for_process_window(const wchar_t* window_class, int timeout_ms) {
  return wait_for_window_of(GetCurrentProcessId(), window_class, timeout_ms);
}

HWND wait_for_window_of(DWORD process_id, const wchar_t* window_class, int timeout_ms) {
  DWORD start = GetTickCount();
  do {
    Search search = {process_id, window_class, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(20);
  } while (static_cast<int>(GetTickCount() - start) < timeout_ms);
  return nullptr;
}

std::wstring window_text_of(HWND hwnd) {
  wchar_t text[1024] = {};
  GetWindowTextW(hwnd, text, 1024);
  return text;
}

bool save_window_picture(HWND hwnd, const std::wstring& path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {sizeof(info), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
            WriteFile(out, &info, sizeof(info), &written, nullptr) &&
            WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(out);
  return ok;
}
