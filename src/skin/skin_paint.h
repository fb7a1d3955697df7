#ifndef MOYAN_SKIN_SKIN_PAINT_H_
#define MOYAN_SKIN_SKIN_PAINT_H_

#include <windows.h>

#include "win32/owned_handle.h"

// Small drawing steps that every skinned part uses.

void fill_rect(HDC dc, const RECT& r, COLORREF colour);
// A one-pixel outline just inside `r`.
void outline_rect(HDC dc, const RECT& r, COLORREF colour);
// Rows shaded evenly from `top` at the first row to `bottom` at the last.
void shade_rows(HDC dc, const RECT& r, COLORREF top, COLORREF bottom);
// `a` moved `percent` of the way towards `b`.
COLORREF mix(COLORREF a, COLORREF b, int percent);
// A straight line from (x0, y0) to (x1, y1), `width` pixels thick.
void draw_line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour, int width);
// Text in one line, clipped to `r`, in the colour given, the font selected already.
void draw_text_line(HDC dc, const wchar_t* text, const RECT& r, COLORREF colour, UINT format);

// Paints into a memory bitmap of `area` and copies it to `target` when it goes, so a part
// repainted after the system drew it appears once, without flicker.
class BufferedDc {
 public:
  BufferedDc(HDC target, const RECT& area);
  BufferedDc(const BufferedDc&) = delete;
  BufferedDc& operator=(const BufferedDc&) = delete;
  ~BufferedDc();
  // Draw here, in the target's coordinates. The target itself when no buffer could be made.
  HDC dc() const { return buffer_ ? buffer_.get() : target_; }

 private:
  HDC target_;
  RECT area_;
  win32::MemoryDc buffer_;
  win32::Bitmap bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
  POINT old_origin_ = {};
};

#endif  // MOYAN_SKIN_SKIN_PAINT_H_
