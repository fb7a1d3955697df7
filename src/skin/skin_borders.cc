// The sunken edge of edit boxes and lists, drawn flat: a line in the skin's border colour
// (the focus colour while an edit box has the keyboard) and, inside it, a line of the
// control's own background.
#include <windows.h>

#include <commctrl.h>

#include "skin/skin_paint.h"
#include "skin/skinned_window.h"

namespace {

COLORREF inner_colour(HWND hwnd, HDC dc, const SkinnedWindow& window) {
  if (window.kind == SkinnedKind::kListView) {
    const auto colour = static_cast<COLORREF>(SendMessageW(hwnd, LVM_GETBKCOLOR, 0, 0));
    return colour == CLR_NONE ? GetSysColor(COLOR_WINDOW) : colour;
  }
  // The field as the edit box paints it: the skin's, or its window's own where the skin's
  // would not suit that window (skin_children.cc).
  return IsWindowEnabled(hwnd) ? parent_colours(hwnd, dc, WM_CTLCOLOREDIT).background
                               : GetSysColor(COLOR_BTNFACE);
}

void paint_border(HWND hwnd, const SkinnedWindow& window, const AttachedSkin& skin) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  const LONG ex_style = GetWindowLongW(hwnd, GWL_EXSTYLE);
  const bool sunken = (ex_style & WS_EX_CLIENTEDGE) != 0;
  if (!sunken && !(style & WS_BORDER) && !(ex_style & WS_EX_STATICEDGE)) return;
  HDC dc = GetWindowDC(hwnd);
  if (dc == nullptr) return;
  RECT r;
  GetWindowRect(hwnd, &r);
  OffsetRect(&r, -r.left, -r.top);
  const bool focused = window.kind == SkinnedKind::kEdit && GetFocus() == hwnd;
  outline_rect(dc, r, skin[focused ? SkinColour::kEditBorderFocus : SkinColour::kEditBorder]);
  if (sunken) {
    InflateRect(&r, -1, -1);
    outline_rect(dc, r, inner_colour(hwnd, dc, window));
  }
  ReleaseDC(hwnd, dc);
}

}  // namespace

Answer border_message(HWND hwnd, SkinnedWindow& window, const AttachedSkin& skin, UINT message,
                      WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_STYLECHANGED:
    case WM_SIZE: {
      const LRESULT result = pass_on(hwnd, message, wparam, lparam);
      if (IsWindow(hwnd) && IsWindowVisible(hwnd)) paint_border(hwnd, window, skin);
      return result;
    }
    default:
      return std::nullopt;
  }
}
