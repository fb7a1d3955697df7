// The frame and caption bar of a captioned top-level window: border, shaded caption, icon,
// title and the caption buttons, drawn where the system takes their clicks.
#include <algorithm>
#include <string>

#include "skin/skin_paint.h"
#include "skin/skinned_window.h"

namespace {

bool has_skinned_frame(HWND hwnd) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  return !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION;
}

bool is_caption_button(int code) {
  return code == HTCLOSE || code == HTMAXBUTTON || code == HTMINBUTTON || code == HTHELP;
}

struct Frame {
  int width = 0, height = 0;
  int border = 0;  // thickness of the frame around the window
  RECT caption = {};
  RECT screen = {};  // the window on the screen
};

Frame frame_of(HWND hwnd) {
  Frame f;
  GetWindowRect(hwnd, &f.screen);
  f.width = f.screen.right - f.screen.left;
  f.height = f.screen.bottom - f.screen.top;
  // The system's own sizes for this style: the frame, then the caption above the client
  // area (an edge around the client area belongs to the client area's side).
  RECT around = {};
  AdjustWindowRectEx(&around, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)) &
                         ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  f.border = std::max<int>(0, -around.left);
  const int caption = std::max<int>(0, -around.top - f.border);
  f.caption = {f.border, f.border, f.width - f.border, f.border + caption};
  return f;
}

int hit_code(HWND hwnd, const Frame& f, int x, int y) {
  return static_cast<int>(
      SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(f.screen.left + x, f.screen.top + y)));
}

// Finds the caption buttons by asking the window where each point of the caption's middle
// row would go: the skin draws each button exactly where its clicks land.
void find_caption_buttons(HWND hwnd, SkinnedWindow& state, const Frame& f) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (state.buttons_found_for.cx == f.width && state.buttons_found_for.cy == f.height &&
      state.style_found_for == style) {
    return;
  }
  state.buttons_found_for = {f.width, f.height};
  state.style_found_for = style;
  state.caption_button_count = 0;
  const int row = (f.caption.top + f.caption.bottom) / 2;
  const int caption_height = f.caption.bottom - f.caption.top;
  // The buttons stand at the right end; four of them are never wider than this.
  const int leftmost = std::max<int>(f.caption.left, f.caption.right - 5 * caption_height);
  int run_code = 0, run_right = 0;
  for (int x = f.caption.right - 1; x >= leftmost - 1; --x) {
    const int code = x >= leftmost ? hit_code(hwnd, f, x, row) : 0;
    if (code == run_code) continue;
    if (is_caption_button(run_code) && state.caption_button_count < 4) {
      RECT place = {x + 1, f.caption.top, run_right + 1, f.caption.bottom};
      // The button's height: the rows of its middle column that reach it.
      const int middle = (place.left + place.right) / 2;
      int top = row, bottom = row;
      while (top > f.caption.top && hit_code(hwnd, f, middle, top - 1) == run_code) --top;
      while (bottom + 1 < f.caption.bottom && hit_code(hwnd, f, middle, bottom + 1) == run_code) {
        ++bottom;
      }
      place.top = top;
      place.bottom = bottom + 1;
      state.caption_buttons[state.caption_button_count++] = {place, run_code};
    }
    run_code = code;
    run_right = x;
  }
}

void draw_glyph(HDC dc, const RECT& r, int code, COLORREF colour) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int size = std::max(4, std::min(w, h) * 9 / 20);
  const int left = r.left + (w - size) / 2, top = r.top + (h - size) / 2;
  const int right = left + size, bottom = top + size;
  switch (code) {
    case HTCLOSE:
      draw_line(dc, left, top, right, bottom, colour, 2);
      draw_line(dc, left, bottom, right, top, colour, 2);
      break;
    case HTMAXBUTTON:
      outline_rect(dc, {left, top, right + 1, bottom + 1}, colour);
      fill_rect(dc, {left, top, right + 1, top + 2}, colour);
      break;
    case HTMINBUTTON:
      fill_rect(dc, {left, bottom - 1, right + 1, bottom + 1}, colour);
      break;
    default: {  // help
      RECT box = r;
      draw_text_line(dc, L"?", box, colour, DT_CENTER | DT_VCENTER);
      break;
    }
  }
}

bool button_enabled(LONG style, int code) {
  if (code == HTMAXBUTTON) return (style & WS_MAXIMIZEBOX) != 0;
  if (code == HTMINBUTTON) return (style & WS_MINIMIZEBOX) != 0;
  return true;
}

HICON small_icon_of(HWND hwnd) {
  if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) return nullptr;
  if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU)) return nullptr;
  for (WPARAM which : {static_cast<WPARAM>(ICON_SMALL), static_cast<WPARAM>(ICON_SMALL2)}) {
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, which, 0))) return icon;
  }
  return reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICONSM));
}

void paint_caption(HWND hwnd, HDC dc, const SkinnedWindow& state, const AttachedSkin& skin,
                   const Frame& f) {
  const RECT& cap = f.caption;
  const bool active = state.active;
  shade_rows(dc, cap, skin[active ? SkinColour::kCaptionTop : SkinColour::kInactiveCaptionTop],
             skin[active ? SkinColour::kCaptionBottom : SkinColour::kInactiveCaptionBottom]);
  const int caption_height = cap.bottom - cap.top;
  int text_left = cap.left + 4;
  if (HICON icon = small_icon_of(hwnd)) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    DrawIconEx(dc, cap.left + 2, cap.top + (caption_height - size) / 2, icon, size, size, 0,
               nullptr, DI_NORMAL);
    text_left = cap.left + 2 + size + 4;
  }
  int text_right = cap.right - 4;
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  for (int i = 0; i < state.caption_button_count; ++i) {
    const auto& button = state.caption_buttons[i];
    text_right = std::min<int>(text_right, button.place.left - 4);
    COLORREF face = skin[SkinColour::kCaptionButtonFace];
    if (state.caption_pressed == button.code) {
      face = skin[SkinColour::kCaptionButtonPressed];
    } else if (state.caption_hot == button.code) {
      face = skin[SkinColour::kCaptionButtonHot];
    }
    const COLORREF glyph = skin[SkinColour::kCaptionButtonGlyph];
    fill_rect(dc, button.place, face);
    outline_rect(dc, button.place, mix(face, glyph, 30));
    draw_glyph(dc, button.place, button.code,
               button_enabled(style, button.code) ? glyph : mix(glyph, face, 60));
  }
  wchar_t title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  HGDIOBJ old_font = SelectObject(dc, skin.caption_font());
  draw_text_line(dc, title, {text_left, cap.top, text_right, cap.bottom},
                 skin[active ? SkinColour::kCaptionText : SkinColour::kInactiveCaptionText],
                 DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
  SelectObject(dc, old_font);
}

void paint_frame(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin) {
  if (IsIconic(hwnd) || !IsWindowVisible(hwnd)) return;
  const Frame f = frame_of(hwnd);
  find_caption_buttons(hwnd, state, f);
  HDC dc = GetWindowDC(hwnd);
  if (dc == nullptr) return;
  const int b = f.border, w = f.width, h = f.height;
  const COLORREF frame = skin[SkinColour::kFrame];
  // The sides and the bottom, straight; the top part with the caption, through a buffer.
  fill_rect(dc, {0, f.caption.bottom, b, h}, frame);
  fill_rect(dc, {w - b, f.caption.bottom, w, h}, frame);
  fill_rect(dc, {0, h - b, w, h}, frame);
  {
    BufferedDc top(dc, {0, 0, w, f.caption.bottom});
    fill_rect(top.dc(), {0, 0, w, f.caption.bottom}, frame);
    paint_caption(hwnd, top.dc(), state, skin, f);
  }
  if (b > 0) {
    outline_rect(dc, {0, 0, w, h}, skin[SkinColour::kFrameEdge]);
    // A window with an outline of its own (rounded corners, say) has its edge follow it.
    win32::Region outline(CreateRectRgn(0, 0, 0, 0));
    if (outline && GetWindowRgn(hwnd, outline.get()) != ERROR) {
      FrameRgn(dc, outline.get(), skin.brush(SkinColour::kFrameEdge), 1, 1);
    }
  }
  ReleaseDC(hwnd, dc);
}

const SkinnedWindow::CaptionButton* button_at(const SkinnedWindow& state, int code) {
  for (int i = 0; i < state.caption_button_count; ++i) {
    if (state.caption_buttons[i].code == code) return &state.caption_buttons[i];
  }
  return nullptr;
}

// Holds a caption button down until the mouse button is let go; a release over it carries
// out its command, as the system's own caption would.
void press_caption_button(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, int code) {
  auto over_button = [&](LPARAM client_point) {
    POINT p = {static_cast<short>(LOWORD(client_point)), static_cast<short>(HIWORD(client_point))};
    ClientToScreen(hwnd, &p);
    return static_cast<int>(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y))) == code;
  };
  state.caption_pressed = code;
  paint_frame(hwnd, state, skin);
  SetCapture(hwnd);
  bool released_over = false;
  MSG msg;
  while (GetCapture() == hwnd) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the thread's own loop
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_LBUTTONUP) {
      released_over = over_button(msg.lParam);
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      const int shown = over_button(msg.lParam) ? code : 0;
      if (shown != state.caption_pressed) {
        state.caption_pressed = shown;
        paint_frame(hwnd, state, skin);
      }
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  if (!IsWindow(hwnd)) return;
  state.caption_pressed = 0;
  paint_frame(hwnd, state, skin);
  if (!released_over) return;
  WPARAM command = SC_CLOSE;
  if (code == HTMINBUTTON) command = SC_MINIMIZE;
  if (code == HTMAXBUTTON) command = IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
  if (code == HTHELP) command = SC_CONTEXTHELP;
  SendMessageW(hwnd, WM_SYSCOMMAND, command, 0);
}

// Messages after which the system has drawn the frame its own way.
bool system_draws_frame_on(UINT message) {
  switch (message) {
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_ENABLE:
    case WM_STYLECHANGED:
    case WM_SYSCOMMAND:
    case 0x00AE:  // the caption's own redraw request on some systems
    case 0x00AF:
      return true;
    default:
      return false;
  }
}

}  // namespace

Answer frame_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                     WPARAM wparam, LPARAM lparam) {
  if (!has_skinned_frame(hwnd)) return std::nullopt;
  switch (message) {
    case WM_NCACTIVATE:
      state.active = wparam != 0;
      break;
    case WM_NCMOUSEMOVE: {
      const int code = is_caption_button(static_cast<int>(wparam)) ? static_cast<int>(wparam) : 0;
      if (code != state.caption_hot) {
        state.caption_hot = code;
        paint_frame(hwnd, state, skin);
      }
      if (code != 0) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_NONCLIENT, hwnd, 0};
        TrackMouseEvent(&track);
      }
      break;
    }
    case WM_NCMOUSELEAVE:
    case WM_MOUSEMOVE:
      if (state.caption_hot != 0) {
        state.caption_hot = 0;
        paint_frame(hwnd, state, skin);
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      const int code = static_cast<int>(wparam);
      if (!is_caption_button(code) || button_at(state, code) == nullptr) break;
      if (button_enabled(GetWindowLongW(hwnd, GWL_STYLE), code)) {
        press_caption_button(hwnd, state, skin, code);
      }
      return 0;
    }
    default:
      break;
  }
  if (!system_draws_frame_on(message)) return std::nullopt;
  const LRESULT result = pass_on(hwnd, message, wparam, lparam);
  if (IsWindow(hwnd) && has_skinned_frame(hwnd)) paint_frame(hwnd, state, skin);
  return result;
}
