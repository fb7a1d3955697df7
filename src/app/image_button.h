#ifndef MOYAN_APP_IMAGE_BUTTON_H_
#define MOYAN_APP_IMAGE_BUTTON_H_

#include <windows.h>

// A button drawn from three pictures: normal, mouse over and pressed (no disabled look).
// A click (press and release inside it) sends WM_COMMAND with BN_CLICKED to the top-level
// window; BM_CLICK does the same.
bool register_image_button_class(HINSTANCE instance);

// Takes ownership of the three bitmaps (any may be null: the button then paints nothing).
HWND create_image_button(HWND parent, int id, int left, int top, int width, int height,
                         HBITMAP normal, HBITMAP hover, HBITMAP pressed);

#endif  // MOYAN_APP_IMAGE_BUTTON_H_
