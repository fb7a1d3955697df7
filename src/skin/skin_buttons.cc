// Push buttons, check boxes, radio buttons and group boxes of the system's button class,
// painted whole in the skin's colours. Buttons that draw themselves (owner-drawn ones, and
// those showing a bitmap or an icon) keep their own look.
#include <algorithm>
#include <string>

#include "skin/skin_paint.h"
#include "skin/skinned_window.h"

namespace {

enum class Shape { kPush, kCheck, kRadio, kGroup, kOwn };

Shape shape_of(HWND hwnd) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (style & (BS_BITMAP | BS_ICON)) return Shape::kOwn;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return Shape::kPush;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return Shape::kCheck;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return Shape::kRadio;
    case BS_GROUPBOX:
      return Shape::kGroup;
    default:
      return Shape::kOwn;
  }
}

std::wstring text_of(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

HFONT font_of(HWND hwnd) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool shows_focus(HWND hwnd) {
  return !(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// A button's text as the system writes it: "&" marks the next letter as the one to press
// with Alt (underlined, unless the window hides those marks until the keyboard is used)
// and "&&" stands for "&" itself.
void draw_label(HWND hwnd, HDC dc, const std::wstring& text, RECT r, COLORREF colour, UINT format) {
  const bool hide_marks = (SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), -1, &r, format | DT_SINGLELINE | (hide_marks ? DT_HIDEPREFIX : 0));
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

// The box of a check box or the circle of a radio button: 13 pixels, as the system's.
constexpr int kMarkSize = 13;

void paint_mark(HDC dc, const RECT& box, Shape shape, UINT state, bool hot, bool enabled,
                const AttachedSkin& skin) {
  const bool pushed = (state & BST_PUSHED) != 0;
  const COLORREF border =
      skin[hot || pushed ? SkinColour::kCheckBorderHot : SkinColour::kCheckBorder];
  const COLORREF face =
      pushed ? mix(skin[SkinColour::kCheckFace], skin[SkinColour::kCheckBorderHot], 25)
             : skin[SkinColour::kCheckFace];
  const COLORREF mark = enabled ? skin[SkinColour::kCheckMark] : skin[SkinColour::kDisabledText];
  if (shape == Shape::kRadio) {
    win32::Brush brush(CreateSolidBrush(face));
    win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, border));
    HGDIOBJ old_brush = SelectObject(dc, brush.get());
    HGDIOBJ old_pen = SelectObject(dc, pen.get());
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (state & BST_CHECKED) {
      win32::Brush dot(CreateSolidBrush(mark));
      win32::GdiObject<HPEN> dot_pen(CreatePen(PS_SOLID, 1, mark));
      SelectObject(dc, dot.get());
      SelectObject(dc, dot_pen.get());
      Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
      SelectObject(dc, brush.get());
      SelectObject(dc, pen.get());
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    return;
  }
  fill_rect(dc, box, face);
  outline_rect(dc, box, border);
  if (state & BST_CHECKED) {
    const int x = box.left, y = box.top;
    draw_line(dc, x + 3, y + 6, x + 5, y + 9, mark, 2);
    draw_line(dc, x + 5, y + 9, x + 10, y + 3, mark, 2);
  } else if (state & BST_INDETERMINATE) {
    fill_rect(dc, {box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, mix(mark, face, 50));
  }
}

void paint_check(HWND hwnd, HDC dc, const SkinnedWindow& window, const AttachedSkin& skin,
                 Shape shape) {
  RECT client;
  GetClientRect(hwnd, &client);
  const ParentColours parent = parent_colours(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &client, parent.brush);
  const UINT state = static_cast<UINT>(SendMessageW(hwnd, BM_GETSTATE, 0, 0));
  const bool enabled = IsWindowEnabled(hwnd) != FALSE;
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  const bool text_first = (style & BS_LEFTTEXT) != 0;
  const int top = client.top + (client.bottom - client.top - kMarkSize) / 2;
  const int box_left = text_first ? client.right - kMarkSize : client.left;
  const RECT box = {box_left, top, box_left + kMarkSize, top + kMarkSize};
  paint_mark(dc, box, shape, state, window.hot, enabled, skin);

  RECT text = text_first ? RECT{client.left, client.top, box.left - 4, client.bottom}
                         : RECT{box.right + 4, client.top, client.right, client.bottom};
  const std::wstring caption = text_of(hwnd);
  HGDIOBJ old_font = SelectObject(dc, font_of(hwnd));
  draw_label(
      hwnd, dc, caption, text,
      legible_text(skin[enabled ? SkinColour::kCheckText : SkinColour::kDisabledText], parent),
      DT_LEFT | DT_VCENTER);
  if ((state & BST_FOCUS) && shows_focus(hwnd) && !caption.empty()) {
    RECT measured = text;
    DrawTextW(dc, caption.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    RECT focus = {text.left - 1, text.top + (text.bottom - text.top - height) / 2 - 1,
                  std::min<int>(measured.right, text.right) + 1, 0};
    focus.bottom = focus.top + height + 2;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
  }
  SelectObject(dc, old_font);
}

void paint_push(HWND hwnd, HDC dc, const SkinnedWindow& window, const AttachedSkin& skin) {
  RECT client;
  GetClientRect(hwnd, &client);
  const UINT state = static_cast<UINT>(SendMessageW(hwnd, BM_GETSTATE, 0, 0));
  const bool enabled = IsWindowEnabled(hwnd) != FALSE;
  const bool pushed = (state & BST_PUSHED) != 0;
  const bool is_default = (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  COLORREF face = skin[SkinColour::kButtonFace];
  if (pushed) {
    face = skin[SkinColour::kButtonFacePressed];
  } else if (window.hot && enabled) {
    face = skin[SkinColour::kButtonFaceHot];
  }
  const COLORREF border = skin[SkinColour::kButtonBorder];
  fill_rect(dc, client, face);
  outline_rect(dc, client, border);
  if (is_default || (state & BST_FOCUS)) {
    outline_rect(dc, {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1},
                 mix(border, face, 50));
  }
  RECT text = client;
  if (pushed) OffsetRect(&text, 1, 1);
  HGDIOBJ old_font = SelectObject(dc, font_of(hwnd));
  draw_label(hwnd, dc, text_of(hwnd), text,
             skin[enabled ? SkinColour::kButtonText : SkinColour::kDisabledText],
             DT_CENTER | DT_VCENTER);
  SelectObject(dc, old_font);
  if ((state & BST_FOCUS) && shows_focus(hwnd)) {
    RECT focus = {client.left + 3, client.top + 3, client.right - 3, client.bottom - 3};
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
  }
}

// A group box draws its frame and caption only: the controls inside it are its siblings
// and lie above it, and what lies between them is its parent's.
void paint_group(HWND hwnd, HDC dc, const AttachedSkin& skin) {
  RECT client;
  GetClientRect(hwnd, &client);
  const ParentColours parent = parent_colours(hwnd, dc, WM_CTLCOLORSTATIC);
  HGDIOBJ old_font = SelectObject(dc, font_of(hwnd));
  const std::wstring caption = text_of(hwnd);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  if (caption.empty()) GetTextExtentPoint32W(dc, L"M", 1, &extent), extent.cx = 0;
  RECT frame = client;
  frame.top = extent.cy / 2;
  outline_rect(dc, frame, skin[SkinColour::kGroupFrame]);
  if (!caption.empty()) {
    RECT label = {8, 0, std::min<LONG>(8 + extent.cx + 4, client.right), extent.cy};
    FillRect(dc, &label, parent.brush);
    label.left += 2;
    draw_label(hwnd, dc, caption, label,
               legible_text(
                   skin[IsWindowEnabled(hwnd) ? SkinColour::kGroupText : SkinColour::kDisabledText],
                   parent),
               DT_LEFT | DT_TOP);
  }
  SelectObject(dc, old_font);
}

void paint(HWND hwnd, HDC dc, const SkinnedWindow& window, const AttachedSkin& skin, Shape shape) {
  switch (shape) {
    case Shape::kPush: {
      RECT client;
      GetClientRect(hwnd, &client);
      BufferedDc buffer(dc, client);
      paint_push(hwnd, buffer.dc(), window, skin);
      break;
    }
    case Shape::kCheck:
    case Shape::kRadio: {
      RECT client;
      GetClientRect(hwnd, &client);
      BufferedDc buffer(dc, client);
      paint_check(hwnd, buffer.dc(), window, skin, shape);
      break;
    }
    case Shape::kGroup:
      paint_group(hwnd, dc, skin);
      break;
    case Shape::kOwn:
      break;
  }
}

// Messages after which a button has drawn its new state straight away, its own way.
bool changes_look(UINT message) {
  switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_CLICK:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
      return true;
    default:
      return false;
  }
}

void repaint_now(HWND hwnd) {
  if (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

}  // namespace

Answer button_message(HWND hwnd, SkinnedWindow& window, const AttachedSkin& skin, UINT message,
                      WPARAM wparam, LPARAM lparam) {
  const Shape shape = shape_of(hwnd);
  if (shape == Shape::kOwn) return std::nullopt;
  // Painted whole (a group box: its frame only).
  if (Answer painted = paint_whole(hwnd, message, wparam,
                                   [&](HDC dc) { paint(hwnd, dc, window, skin, shape); })) {
    return painted;
  }
  switch (message) {
    case WM_MOUSEMOVE: {
      const LRESULT result = pass_on(hwnd, message, wparam, lparam);
      if (shape == Shape::kGroup) return result;
      if (!window.hot) {
        window.hot = true;
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd, 0};
        window.tracking = TrackMouseEvent(&track) != FALSE;
        repaint_now(hwnd);
      } else if (GetCapture() == hwnd) {
        repaint_now(hwnd);  // a held button shows whether the mouse is still over it
      }
      return result;
    }
    case WM_MOUSELEAVE: {
      const LRESULT result = pass_on(hwnd, message, wparam, lparam);
      window.hot = false;
      window.tracking = false;
      repaint_now(hwnd);
      return result;
    }
    default:
      break;
  }
  if (!changes_look(message)) return std::nullopt;
  const LRESULT result = pass_on(hwnd, message, wparam, lparam);
  repaint_now(hwnd);
  return result;
}
