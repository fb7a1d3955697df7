#ifndef MOYAN_APP_WINDOW_STATE_H_
#define MOYAN_APP_WINDOW_STATE_H_

#include <windows.h>

#include <memory>

// A window's own C++ state lives in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY.
// Creation passes a std::unique_ptr<T>* as the create parameter; the window takes the
// object over in WM_NCCREATE, so a creation that fails earlier still frees it.
template <typename T>
T* state_of(HWND hwnd) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

template <typename T>
void adopt_state(HWND hwnd, LPARAM create_lparam) {
  auto* create = reinterpret_cast<CREATESTRUCTW*>(create_lparam);
  auto* owner = static_cast<std::unique_ptr<T>*>(create->lpCreateParams);
  if (owner != nullptr) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner->release()));
  }
}

// Creates a child control of one of the runtime's classes that takes over `state`.
template <typename T>
HWND create_child_with_state(const wchar_t* class_name, const wchar_t* text, DWORD ex_style,
                             DWORD style, int left, int top, int width, int height, HWND parent,
                             int id, std::unique_ptr<T> state) {
  return CreateWindowExW(ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, left, top,
                         width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), &state);
}

template <typename T>
void drop_state(HWND hwnd) {
  delete state_of<T>(hwnd);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
}

#endif  // MOYAN_APP_WINDOW_STATE_H_
