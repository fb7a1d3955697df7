#ifndef MOYAN_APP_LABEL_WINDOW_H_
#define MOYAN_APP_LABEL_WINDOW_H_

#include <windows.h>

#include <vector>

// A label: its window text drawn with a font, on its own background colour. Texts that
// don't fit are wrapped, also between Chinese characters. A left press moves the top-level
// window and goes no further.
//
// A transparent label draws its text on its container's background instead, and a press
// on it reaches it as on any other control (it has no handler, so nothing happens).
bool register_label_class(HINSTANCE instance);

enum class LabelKind { kLabel, kTransparent };

// The font (WM_GETFONT gives it) is not owned; the colour is a label's background.
HWND create_label(HWND parent, int id, const RECT& place, const wchar_t* text, HFONT font,
                  LabelKind kind, COLORREF background);

// Makes a label a row of column headings: the parts of its text between "|" are drawn so
// that each "|" stands on one of these edges (x in the label's client area, left to right)
// and each part in the column that follows it. Used by 标签1 over the result list.
void set_label_columns(HWND label, std::vector<int> edges);

// Where the label's text is drawn, in its client area (empty when it has none), so a
// check can see that nothing covers or clips it.
RECT label_text_bounds(HWND label);

#endif  // MOYAN_APP_LABEL_WINDOW_H_
