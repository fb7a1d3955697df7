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
  HWND frame = nullptr;  // a group box's frame and caption: a system group box inside it
};

void paint_frame(HWND hwnd, HDC dc, const Container& box) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, box.background.get());
}

// The frame lies under every control of the group box: a group box draws over whatever
// lies under it, and the controls inside must stay in sight.
void keep_frame_under(const Container& box) {
  if (box.frame == nullptr) return;
  SetWindowPos(box.frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    case WM_PARENTNOTIFY:
      if (LOWORD(wparam) == WM_CREATE) keep_frame_under(box);
      return std::nullopt;
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
  Container* state = box.get();
  // A group box's container paints under its frame too: the system's group box leaves its
  // inside to its parent.
  const DWORD clip = kind == ContainerKind::kGroupBox ? 0 : WS_CLIPCHILDREN;
  HWND container = create_control(kClassName, caption, WS_EX_CONTROLPARENT, WS_CLIPSIBLINGS | clip,
                                  place, parent, id, std::move(box));
  if (container == nullptr || kind != ContainerKind::kGroupBox) return container;
  // The frame takes no clicks (a group box lets them through to the container, which moves
  // the window) and no keyboard focus.
  state->frame = CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"BUTTON", caption,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0,
                                 place.right - place.left, place.bottom - place.top, container,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  if (state->frame == nullptr) {
    DestroyWindow(container);
    return nullptr;
  }
  SendMessageW(state->frame, WM_SETFONT,
               reinterpret_cast<WPARAM>(font ? font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return container;
}
