#include "app/picture_box.h"

#include <memory>
#include <utility>

#include "app/control_class.h"
#include "win32/owned_handle.h"
#include "app/window_messages.h"
#include "app/window_state.h"

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
  if (box.current < box.frames.size() && box.frames[box.current]) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBITMAP frame = box.frames[box.current].get();
    BITMAP info = {};
    GetObjectW(frame, sizeof(info), &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, frame);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK picture_box_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  PictureBox* box = state_of<PictureBox>(hwnd);
  switch (message) {
    case WM_NCCREATE:
      adopt_state<PictureBox>(hwnd, lparam);
      break;
    case WM_CREATE:
      if (box != nullptr && box->frames.size() > 1) {
        SetTimer(hwnd, kFrameTimer, kFrameMilliseconds, nullptr);
      }
      return 0;
    case WM_NCDESTROY:
      drop_state<PictureBox>(hwnd);
      break;
    case WM_TIMER:
      if (box != nullptr && wparam == kFrameTimer && !box->frames.empty()) {
        box->current = (box->current + 1) % box->frames.size();
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (box != nullptr) {
        paint(hwnd, *box);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (box != nullptr && box->is_link && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (box != nullptr && box->is_link) {
        SendMessageW(root_of(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), kPictureLeftDown),
                     reinterpret_cast<LPARAM>(hwnd));
      } else {
        ask_root_to_drag(hwnd);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

bool register_picture_box_class(HINSTANCE instance) {
  return register_control_class(instance, kClassName, picture_box_proc);
}

HWND create_picture_box(HWND parent, int id, int left, int top, int width, int height,
                        std::vector<HBITMAP> frames, bool is_link) {
  auto box = std::make_unique<PictureBox>();
  for (HBITMAP frame : frames) box->frames.emplace_back(frame);
  box->is_link = is_link;
  return create_child_with_state(kClassName, L"", 0, WS_CLIPSIBLINGS, left, top, width, height,
                                 parent, id, std::move(box));
}
