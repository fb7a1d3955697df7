#include "app/image_button.h"

#include <memory>
#include <utility>

#include "app/control_window.h"
#include "win32/owned_handle.h"

namespace {

constexpr wchar_t kClassName[] = L"MoyanImageButton";

struct ImageButton {
  win32::Bitmap normal, hover, pressed;
  bool hot = false;
  bool down = false;
};

void send_clicked(HWND hwnd) {
  int id = GetDlgCtrlID(hwnd);
  SendMessageW(root_of(hwnd), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd));
}

void paint(HWND hwnd, const ImageButton& button) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HBITMAP look = button.normal.get();
  if (button.down && button.hot && button.pressed) {
    look = button.pressed.get();
  } else if (button.hot && button.hover) {
    look = button.hover.get();
  }
  RECT client;
  GetClientRect(hwnd, &client);
  draw_stretched(dc, look, client);
  EndPaint(hwnd, &ps);
}

bool cursor_inside(HWND hwnd, LPARAM lparam) {
  RECT client;
  GetClientRect(hwnd, &client);
  POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  return PtInRect(&client, p) != 0;
}

void show_look(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, FALSE);
}

Handled handle(HWND hwnd, ImageButton& button, UINT message, WPARAM, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint(hwnd, button);
      return 0;
    case WM_MOUSEMOVE: {
      bool inside = cursor_inside(hwnd, lparam);
      if (inside != button.hot) {
        button.hot = inside;
        show_look(hwnd);
        if (inside && !button.down) {
          TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd, 0};
          TrackMouseEvent(&track);
        }
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (!button.down) {
        button.hot = false;
        show_look(hwnd);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      button.down = true;
      button.hot = true;
      SetCapture(hwnd);
      show_look(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (button.down) {
        bool inside = cursor_inside(hwnd, lparam);
        button.down = false;
        button.hot = inside;
        if (GetCapture() == hwnd) ReleaseCapture();
        show_look(hwnd);
        if (inside) send_clicked(hwnd);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (button.down) {
        button.down = false;
        show_look(hwnd);
      }
      return 0;
    case BM_CLICK:
      send_clicked(hwnd);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool register_image_button_class(HINSTANCE instance) {
  return register_control_class<ImageButton, handle>(instance, kClassName);
}

HWND create_image_button(HWND parent, int id, const RECT& place, ButtonLooks looks) {
  auto button = std::make_unique<ImageButton>();
  button->normal.reset(looks.normal);
  button->hover.reset(looks.hover);
  button->pressed.reset(looks.pressed);
  win32::Region outline(looks.outline);
  HWND hwnd =
      create_control(kClassName, L"", 0, WS_CLIPSIBLINGS, place, parent, id, std::move(button));
  // The window keeps the outline from here on.
  if (hwnd != nullptr && outline && SetWindowRgn(hwnd, outline.get(), FALSE)) outline.release();
  return hwnd;
}
