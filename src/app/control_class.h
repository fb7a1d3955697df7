#ifndef MOYAN_APP_CONTROL_CLASS_H_
#define MOYAN_APP_CONTROL_CLASS_H_

#include <windows.h>

#include "win32/window_class.h"

// Registers the window class of one of the runtime's own controls; each control paints
// itself.
inline bool register_control_class(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  return win32::register_window_class(instance, name, proc);
}

#endif  // MOYAN_APP_CONTROL_CLASS_H_
