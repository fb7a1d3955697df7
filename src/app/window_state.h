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

template <typename T>
void drop_state(HWND hwnd) {
  delete state_of<T>(hwnd);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
}

#endif  // MOYAN_APP_WINDOW_STATE_H_
