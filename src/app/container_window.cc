#include "app/container_window.h"

#include <memory>
#include <string>
#include <utility>

#include "app/control_window.h"
#include "app/window_messages.h"
#include "win32/owned_handle.h"

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
  std::wstring caption = window_text(hwnd);
  auto length = static_cast<int>(caption.size());
  SIZE extent = {};
  GetTextExtentPoint32W(dc, caption.c_str(), length, &extent);
  RECT frame = client;
  frame.top = extent.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (length > 0) {
    RECT text = {8, 0, 8 + extent.cx + 4, extent.cy};
    FillRect(dc, &text, box.background.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 10, 0, caption.c_str(), length);
  }
  SelectObject(dc, old_font);
}

Handled handle(HWND hwnd, Container& box, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      paint_frame(hwnd, dc, box);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      paint_frame(hwnd, reinterpret_cast<HDC>(wparam), box);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(box.font);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), box.colour);
      SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(box.background.get());
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(root_of(hwnd), message, wparam, lparam);
    case WM_LBUTTONDOWN:
      if (box.kind != ContainerKind::kGroupBox) return std::nullopt;
      ask_root_to_drag(hwnd);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool register_container_class(HINSTANCE instance) {
  return register_control_class<Container, handle>(instance, kClassName);
}

HWND create_container(HWND parent, int id, const RECT& place, ContainerKind kind,
                      const wchar_t* caption, HFONT font, COLORREF background) {
  auto box = std::make_unique<Container>();
  box->kind = kind;
  box->font = font;
  box->colour = background;
  box->background.reset(CreateSolidBrush(background));
  return create_control(kClassName, caption, WS_EX_CONTROLPARENT, WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        place, parent, id, std::move(box));
}
