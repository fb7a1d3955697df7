#include "app/control_window.h"

#include "win32/owned_handle.h"

std::wstring window_text(HWND hwnd) {
  if (hwnd == nullptr) return std::wstring();
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

void draw_stretched(HDC dc, HBITMAP bitmap, const RECT& to) {
  if (bitmap == nullptr) return;
  BITMAP info = {};
  GetObjectW(bitmap, sizeof(info), &info);
  win32::MemoryDc memory(CreateCompatibleDC(dc));
  HGDIOBJ old = SelectObject(memory.get(), bitmap);
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, memory.get(), 0, 0,
             info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(memory.get(), old);
}
