// The closed field of a drop-down list: its face, border, arrow button and chosen item. The
// list that drops down takes the skin's colours through its parent (skin_children.cc).
#include <string>

#include "skin/skin_paint.h"
#include "skin/skinned_window.h"

namespace {

// Only plain drop-down lists: a box with an edit field or items drawn by the program
// keeps the system's look.
bool is_plain_drop_down_list(HWND hwnd) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  return (style & 0x3) == CBS_DROPDOWNLIST &&
         !(style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE));
}

std::wstring chosen_text(HWND hwnd) {
  const LRESULT index = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return std::wstring();
  const LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length < 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

void paint_arrow(HDC dc, const RECT& button, COLORREF colour) {
  const int middle = (button.left + button.right) / 2;
  const int top = (button.top + button.bottom) / 2 - 2;
  for (int row = 0; row < 4; ++row) {
    fill_rect(dc, {middle - 3 + row, top + row, middle + 4 - row, top + row + 1}, colour);
  }
}

void paint_combo(HWND hwnd, HDC dc, const AttachedSkin& skin) {
  RECT client;
  GetClientRect(hwnd, &client);
  const bool enabled = IsWindowEnabled(hwnd) != FALSE;
  const bool focused = GetFocus() == hwnd;
  const bool dropped = SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
  fill_rect(dc, client, enabled ? skin[SkinColour::kComboFace] : GetSysColor(COLOR_BTNFACE));
  outline_rect(dc, client, skin[focused ? SkinColour::kEditBorderFocus : SkinColour::kComboBorder]);

  const int arrow_width = GetSystemMetrics(SM_CXVSCROLL);
  RECT button = {client.right - 1 - arrow_width, client.top + 1, client.right - 1,
                 client.bottom - 1};
  fill_rect(dc, button,
            skin[dropped ? SkinColour::kButtonFacePressed : SkinColour::kComboButtonFace]);
  fill_rect(dc, {button.left, button.top, button.left + 1, button.bottom},
            skin[SkinColour::kComboBorder]);
  paint_arrow(dc, button, skin[enabled ? SkinColour::kComboArrow : SkinColour::kDisabledText]);

  RECT text = {client.left + 2, client.top + 2, button.left - 1, client.bottom - 2};
  COLORREF ink = skin[enabled ? SkinColour::kComboText : SkinColour::kDisabledText];
  if (focused && !dropped && enabled) {
    fill_rect(dc, text, skin[SkinColour::kSelectionBackground]);
    ink = skin[SkinColour::kSelectionText];
  }
  text.left += 2;
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ old_font = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  draw_text_line(dc, chosen_text(hwnd).c_str(), text, ink, DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
  SelectObject(dc, old_font);
}

void paint(HWND hwnd, HDC dc, const AttachedSkin& skin) {
  RECT client;
  GetClientRect(hwnd, &client);
  BufferedDc buffer(dc, client);
  paint_combo(hwnd, buffer.dc(), skin);
}

bool changes_look(UINT message) {
  switch (message) {
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
    case CB_SHOWDROPDOWN:
    case CB_RESETCONTENT:
    case CB_DELETESTRING:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_MOUSEWHEEL:
    case WM_CAPTURECHANGED:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_COMMAND:
      return true;
    default:
      return false;
  }
}

}  // namespace

Answer combo_message(HWND hwnd, SkinnedWindow& /*window*/, const AttachedSkin& skin, UINT message,
                     WPARAM wparam, LPARAM lparam) {
  if (!is_plain_drop_down_list(hwnd)) return std::nullopt;
  if (Answer painted = paint_whole(hwnd, message, wparam, [&](HDC dc) { paint(hwnd, dc, skin); })) {
    return painted;
  }
  if (!changes_look(message)) return std::nullopt;
  const LRESULT result = pass_on(hwnd, message, wparam, lparam);
  if (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  return result;
}
