#include "app/image_button.h"

#include <memory>
#include <utility>

#include "app/control_class.h"
#include "win32/owned_handle.h"
#include "app/window_messages.h"
#include "app/window_state.h"

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

void paint(HWND hwnd, ImageButton* button) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HBITMAP look = button->normal.get();
  if (button->down && button->hot && button->pressed) {
    look = button->pressed.get();
  } else if (button->hot && button->hover) {
    look = button->hover.get();
  }
  RECT client;
  GetClientRect(hwnd, &client);
  if (look != nullptr) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, look);
    BITMAP info = {};
    GetObjectW(look, sizeof(info), &info);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  EndPaint(hwnd, &ps);
}

bool cursor_inside(HWND hwnd, LPARAM lparam) {
  RECT client;
  GetClientRect(hwnd, &client);
  POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  return PtInRect(&client, p) != 0;
}

LRESULT CALLBACK image_button_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  ImageButton* button = state_of<ImageButton>(hwnd);
  switch (message) {
    case WM_NCCREATE:
      adopt_state<ImageButton>(hwnd, lparam);
      break;
    case WM_NCDESTROY:
      drop_state<ImageButton>(hwnd);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (button != nullptr) {
        paint(hwnd, button);
        return 0;
      }
      break;
    case WM_MOUSEMOVE: {
      bool inside = cursor_inside(hwnd, lparam);
      if (button != nullptr && inside != button->hot) {
        button->hot = inside;
        InvalidateRect(hwnd, nullptr, FALSE);
        if (inside && !button->down) {
          TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd, 0};
          TrackMouseEvent(&track);
        }
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (button != nullptr && !button->down) {
        button->hot = false;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (button != nullptr) {
        button->down = true;
        button->hot = true;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (button != nullptr && button->down) {
        bool inside = cursor_inside(hwnd, lparam);
        button->down = false;
        button->hot = inside;
        if (GetCapture() == hwnd) ReleaseCapture();
        InvalidateRect(hwnd, nullptr, FALSE);
        if (inside) send_clicked(hwnd);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (button != nullptr && button->down) {
        button->down = false;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case BM_CLICK:
      send_clicked(hwnd);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

bool register_image_button_class(HINSTANCE instance) {
  return register_control_class(instance, kClassName, image_button_proc);
}

HWND create_image_button(HWND parent, int id, int left, int top, int width, int height,
                         HBITMAP normal, HBITMAP hover, HBITMAP pressed) {
  auto button = std::make_unique<ImageButton>();
  button->normal.reset(normal);
  button->hover.reset(hover);
  button->pressed.reset(pressed);
  return create_child_with_state(kClassName, L"", 0, WS_CLIPSIBLINGS, left, top, width, height,
                                 parent, id, std::move(button));
}
