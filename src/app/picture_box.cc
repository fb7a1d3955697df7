#include "app/picture_box.h"

#include <memory>
#include <utility>

#include "app/control_window.h"
#include "app/window_messages.h"
#include "win32/owned_handle.h"

namespace {

constexpr wchar_t kClassName[] = L"MoyanPictureBox";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMilliseconds = 400;

struct PictureBox {
  std::vector<win32::Bitmap> frames;
  size_t current = 0;
  bool is_link = false;
};

void paint(HWND hwnd, const PictureBox& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (box.current < box.frames.size()) {
    RECT client;
    GetClientRect(hwnd, &client);
    draw_stretched(dc, box.frames[box.current].get(), client);
  }
  EndPaint(hwnd, &ps);
}

Handled handle(HWND hwnd, PictureBox& box, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      if (box.frames.size() > 1) SetTimer(hwnd, kFrameTimer, kFrameMilliseconds, nullptr);
      return 0;
    case WM_TIMER:
      if (wparam == kFrameTimer && !box.frames.empty()) {
        box.current = (box.current + 1) % box.frames.size();
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_PAINT:
      paint(hwnd, box);
      return 0;
    case WM_SETCURSOR:
      if (box.is_link && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return std::nullopt;
    case WM_LBUTTONDOWN:
      if (box.is_link) {
        SendMessageW(root_of(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), kPictureLeftDown),
                     reinterpret_cast<LPARAM>(hwnd));
      } else {
        ask_root_to_drag(hwnd);
      }
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool register_picture_box_class(HINSTANCE instance) {
  return register_control_class<PictureBox, handle>(instance, kClassName);
}

HWND create_picture_box(HWND parent, int id, const RECT& place, std::vector<HBITMAP> frames,
                        bool is_link) {
  auto box = std::make_unique<PictureBox>();
  for (HBITMAP frame : frames) box->frames.emplace_back(frame);
  box->is_link = is_link;
  return create_control(kClassName, L"", 0, WS_CLIPSIBLINGS, place, parent, id, std::move(box));
}
