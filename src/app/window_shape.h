#ifndef MOYAN_APP_WINDOW_SHAPE_H_
#define MOYAN_APP_WINDOW_SHAPE_H_

#include <windows.h>

#include "text/byte_set.h"

// Makes the window's visible region the pixels of `picture` (a whole bitmap file) whose
// colour differs from `transparent`, in the window's own coordinates (0, 0 is the outer
// window's top-left corner, caption included), and redraws it. The window keeps its size.
// False, with the window left as it was, for empty bytes or anything that is not such a
// picture.
bool set_window_shape(HWND window, const ByteSet& picture, COLORREF transparent);

#endif  // MOYAN_APP_WINDOW_SHAPE_H_
