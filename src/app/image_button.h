#ifndef MOYAN_APP_IMAGE_BUTTON_H_
#define MOYAN_APP_IMAGE_BUTTON_H_

#include <windows.h>

#include "app/art/artwork.h"

// A button drawn from three pictures: normal, mouse over and pressed (no disabled look).
// A click (press and release inside it) sends WM_COMMAND with BN_CLICKED to the top-level
// window; BM_CLICK does the same.
bool register_image_button_class(HINSTANCE instance);

// Takes ownership of the three bitmaps (any may be null: the button then paints nothing)
// and of the outline (null: the whole rectangle), outside which the button is not there:
// what lies beneath shows through and takes the presses.
HWND create_image_button(HWND parent, int id, const RECT& place, ButtonLooks looks);

#endif  // MOYAN_APP_IMAGE_BUTTON_H_
