// A program that makes one window when told to, for seeing that a skin attached in another
// process leaves it alone. Run as: skin_other_process GO_EVENT_NAME
// It waits for the named event, makes a visible top-level window of class
// "SkinTestOtherProcess", and ends when the window is closed: with exit code 0, or 2 when
// the skin library was brought into it meanwhile (a hook of another process can do that),
// or 1 after 20 s without a close.
#include <windows.h>

#include "win32/window_class.h"

namespace {

LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void CALLBACK give_up(HWND, UINT, UINT_PTR, DWORD) {
  PostQuitMessage(1);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR command_line, int) {
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, command_line);
  if (go == nullptr || WaitForSingleObject(go, 20000) != WAIT_OBJECT_0) return 1;
  win32::register_window_class(instance, L"SkinTestOtherProcess", window_procedure,
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  CreateWindowExW(0, L"SkinTestOtherProcess", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400,
                  200, 100, nullptr, nullptr, instance, nullptr);
  SetTimer(nullptr, 0, 20000, give_up);
  MSG msg;
  int code = 0;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  if (msg.message == WM_QUIT) code = static_cast<int>(msg.wParam);
  return GetModuleHandleW(L"SkinH_EL.dll") != nullptr ? 2 : code;
}
