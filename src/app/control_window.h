#ifndef MOYAN_APP_CONTROL_WINDOW_H_
#define MOYAN_APP_CONTROL_WINDOW_H_

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "win32/window_class.h"

// What the runtime's own controls (image buttons, labels, picture boxes, containers) have
// in common. Each keeps its C++ state in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY and
// paints its whole client area itself.

// A control's answer to a message, or nothing to let the system's default handling run.
using Handled = std::optional<LRESULT>;

template <typename T>
T* state_of(HWND hwnd) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The window procedure of a control with state T: `handle` sees every message while the
// state lives; the procedure adopts the state that creation passes (a std::unique_ptr<T>*,
// so a creation that fails earlier still frees it), frees it with the window, and keeps
// the system from erasing a background the control paints itself.
template <typename T, Handled (*handle)(HWND, T&, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK control_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      auto* owner = static_cast<std::unique_ptr<T>*>(create->lpCreateParams);
      if (owner != nullptr) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner->release()));
      }
      break;
    }
    case WM_NCDESTROY:
      delete state_of<T>(hwnd);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {  // a control that shows its text shows the new one
      LRESULT result = DefWindowProcW(hwnd, message, wparam, lparam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    default:
      break;
  }
  if (T* state = state_of<T>(hwnd)) {
    if (Handled result = handle(hwnd, *state, message, wparam, lparam)) return *result;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

template <typename T, Handled (*handle)(HWND, T&, UINT, WPARAM, LPARAM)>
bool register_control_class(HINSTANCE instance, const wchar_t* class_name) {
  return win32::register_window_class(instance, class_name, control_window_proc<T, handle>);
}

// Creates a visible child control of one of the runtime's classes that takes over `state`.
template <typename T>
HWND create_control(const wchar_t* class_name, const wchar_t* text, DWORD ex_style, DWORD style,
                    const RECT& place, HWND parent, int id, std::unique_ptr<T> state) {
  return CreateWindowExW(ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, place.left,
                         place.top, place.right - place.left, place.bottom - place.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), &state);
}

// A window's text as the window holds it.
std::wstring window_text(HWND hwnd);

// Paints a bitmap stretched over a rectangle of the device context.
void draw_stretched(HDC dc, HBITMAP bitmap, const RECT& to);

// The top-level window that holds a control.
inline HWND root_of(HWND control) {
  return GetAncestor(control, GA_ROOT);
}

#endif  // MOYAN_APP_CONTROL_WINDOW_H_
