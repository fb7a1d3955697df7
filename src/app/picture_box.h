#ifndef MOYAN_APP_PICTURE_BOX_H_
#define MOYAN_APP_PICTURE_BOX_H_

#include <windows.h>

#include <vector>

// A picture box: one picture, or several frames shown in turn (an animated banner).
// A link picture shows the hand cursor and reports a left press to the top-level window
// as WM_COMMAND with kPictureLeftDown; any other picture box moves the top-level window
// instead, and the press goes no further.
bool register_picture_box_class(HINSTANCE instance);

// Takes ownership of the frames.
HWND create_picture_box(HWND parent, int id, const RECT& place, std::vector<HBITMAP> frames,
                        bool is_link);

#endif  // MOYAN_APP_PICTURE_BOX_H_
