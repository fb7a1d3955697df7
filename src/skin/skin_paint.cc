#include "skin/skin_paint.h"

void fill_rect(HDC dc, const RECT& r, COLORREF colour) {
  // ExtTextOut with an opaque rectangle fills without making a brush.
  COLORREF old = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void outline_rect(HDC dc, const RECT& r, COLORREF colour) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  fill_rect(dc, {r.left, r.top, r.right, r.top + 1}, colour);
  fill_rect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
  fill_rect(dc, {r.left, r.top, r.left + 1, r.bottom}, colour);
  fill_rect(dc, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

COLORREF mix(COLORREF a, COLORREF b, int percent) {
  auto part = [percent](int x, int y) { return x + (y - x) * percent / 100; };
  return RGB(part(GetRValue(a), GetRValue(b)), part(GetGValue(a), GetGValue(b)),
             part(GetBValue(a), GetBValue(b)));
}

void shade_rows(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  const int rows = r.bottom - r.top;
  for (int i = 0; i < rows; ++i) {
    const int percent = rows > 1 ? i * 100 / (rows - 1) : 0;
    fill_rect(dc, {r.left, r.top + i, r.right, r.top + i + 1}, mix(top, bottom, percent));
  }
}

void draw_line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour, int width) {
  win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, width, colour));
  HGDIOBJ old = SelectObject(dc, pen.get());
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
}

void draw_text_line(HDC dc, const wchar_t* text, const RECT& r, COLORREF colour, UINT format) {
  RECT box = r;
  int old_mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old_colour = SetTextColor(dc, colour);
  DrawTextW(dc, text, -1, &box, format | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

BufferedDc::BufferedDc(HDC target, const RECT& area) : target_(target), area_(area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  buffer_.reset(CreateCompatibleDC(target));
  bitmap_.reset(CreateCompatibleBitmap(target, width, height));
  if (!buffer_ || !bitmap_) {
    buffer_.reset();
    return;
  }
  old_bitmap_ = SelectObject(buffer_.get(), bitmap_.get());
  SetWindowOrgEx(buffer_.get(), area.left, area.top, &old_origin_);
  // The buffer starts as what the target shows, for parts that draw over only some of it.
  BitBlt(buffer_.get(), area.left, area.top, width, height, target, area.left, area.top, SRCCOPY);
}

BufferedDc::~BufferedDc() {
  if (!buffer_) return;
  BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
         buffer_.get(), area_.left, area_.top, SRCCOPY);
  SetWindowOrgEx(buffer_.get(), old_origin_.x, old_origin_.y, nullptr);
  SelectObject(buffer_.get(), old_bitmap_);
}
