#ifndef MOYAN_WIN32_WINDOW_CLASS_H_
#define MOYAN_WIN32_WINDOW_CLASS_H_

#include <windows.h>

namespace win32 {

// Registers a window class of this program: arrow cursor and no class background (every
// window of ours paints its own). A class that is registered already (a second window, a
// test that builds the window twice) counts as success.
bool register_window_class(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

}  // namespace win32

#endif  // MOYAN_WIN32_WINDOW_CLASS_H_
