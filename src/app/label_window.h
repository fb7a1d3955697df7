#ifndef MOYAN_APP_LABEL_WINDOW_H_
#define MOYAN_APP_LABEL_WINDOW_H_

#include <windows.h>

// A label: its window text drawn with a font, either on its own background colour or, as a
// transparent label, on its container's background. Texts that don't fit are wrapped, also
// between Chinese characters. A left press moves the top-level window and goes no further.
bool register_label_class(HINSTANCE instance);

// The font is not owned. transparent: the container's WM_CTLCOLORSTATIC brush is the
// background instead of the colour.
HWND create_label(HWND parent, int id, int left, int top, int width, int height,
                  const wchar_t* text, HFONT font, bool transparent, COLORREF background);

#endif  // MOYAN_APP_LABEL_WINDOW_H_
