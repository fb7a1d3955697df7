#ifndef MOYAN_WIN32_WINDOW_CLASS_H_
#define MOYAN_WIN32_WINDOW_CLASS_H_

#include <windows.h>

namespace win32 {

// Registers a window class of this program: arrow cursor and, unless one is given, no class
// background (every window of the program paints its own; tools and tests that show plain
// system windows give a system colour brush). A class that is registered already (a second
// window, a test that builds the window twice) counts as success.
bool register_window_class(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                           HBRUSH background = nullptr);

}  // namespace win32

#endif  // MOYAN_WIN32_WINDOW_CLASS_H_
