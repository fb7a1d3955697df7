#include "app/container_window.h"

#include <memory>
#include <string>
#include <utility>

#include "app/control_class.h"
#include "win32/owned_handle.h"
#include "app/window_messages.h"
#include "app/window_state.h"

namespace {

constexpr wchar_t kClassName[] = L"MoyanContainer";

struct Container {
  ContainerKind kind = ContainerKind::kPage;
  HFONT font = nullptr;
  COLORREF colour = RGB(255, 255, 255);
  win32::Brush background;
};

void paint_frame(HWND hwnd, HDC dc, const Container& box) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, box.background.get());
  if (box.kind != ContainerKind::kGroupBox) return;
  HGDIOBJ old_font = SelectObject(dc, box.font ? box.font : GetStockObject(DEFAULT_GUI_FONT));
  wchar_t caption[256] = {};
  int length = GetWindowTextW(hwnd, caption, 256);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, caption, length, &extent);
  RECT frame = client;
  frame.top = extent.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (length > 0) {
    RECT text = {8, 0, 8 + extent.cx + 4, extent.cy};
    FillRect(dc, &text, box.background.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 10, 0, caption, length);
  }
  SelectObject(dc, old_font);
}

LRESULT CALLBACK container_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Container* box = state_of<Container>(hwnd);
  switch (message) {
    case WM_NCCREATE:
      adopt_state<Container>(hwnd, lparam);
      break;
    case WM_NCDESTROY:
      drop_state<Container>(hwnd);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (box != nullptr) {
        PAINTSTRUCT ps;
        HDC dc = message == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wparam);
        paint_frame(hwnd, dc, *box);
        if (message == WM_PAINT) EndPaint(hwnd, &ps);
        return 0;
      }
      break;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcW(hwnd, message, wparam, lparam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (box != nullptr) {
        SetBkColor(reinterpret_cast<HDC>(wparam), box->colour);
        SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(box->background.get());
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(root_of(hwnd), message, wparam, lparam);
    case WM_LBUTTONDOWN:
      if (box != nullptr && box->kind == ContainerKind::kGroupBox) {
        ask_root_to_drag(hwnd);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

bool register_container_class(HINSTANCE instance) {
  return register_control_class(instance, kClassName, container_proc);
}

HWND create_container(HWND parent, int id, int left, int top, int width, int height,
                      ContainerKind kind, const wchar_t* caption, HFONT font, COLORREF background) {
  auto box = std::make_unique<Container>();
  box->kind = kind;
  box->font = font;
  box->colour = background;
  box->background.reset(CreateSolidBrush(background));
  return create_child_with_state(kClassName, caption, WS_EX_CONTROLPARENT,
                                 WS_CLIPSIBLINGS | WS_CLIPCHILDREN, left, top, width, height,
                                 parent, id, std::move(box));
}
