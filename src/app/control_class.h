#ifndef MOYAN_APP_CONTROL_CLASS_H_
#define MOYAN_APP_CONTROL_CLASS_H_

#include <windows.h>

// Registers the window class of one of the runtime's own controls: arrow cursor and no class
// background, since each control paints itself. A class already registered (a second
// window, a test) counts as success.
inline bool register_control_class(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

#endif  // MOYAN_APP_CONTROL_CLASS_H_
