#include "app/window_shape.h"

#include <vector>

#include "app/shape_picture.h"
#include "win32/owned_handle.h"

bool set_window_shape(HWND window, const ByteSet& picture, COLORREF transparent) {
  if (picture.empty()) return false;
  const std::optional<ShapeRuns> runs = opaque_runs(
      picture.view(), {GetRValue(transparent), GetGValue(transparent), GetBValue(transparent)});
  if (!runs) return false;
  const std::vector<ShapeRect> rects = join_rows(*runs);

  // The region in one call from its rectangles, which come sorted by row as regions keep
  // them, instead of combining a region per run.
  std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(rects.size());
  region->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  region->rdh.rcBound = {0, 0, runs->width, runs->height};
  auto* out = reinterpret_cast<RECT*>(region->Buffer);
  for (size_t i = 0; i < rects.size(); ++i) {
    out[i] = {rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
  }
  win32::Region shape(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region));
  if (!shape) return false;
  // The window owns the region from here on.
  if (!SetWindowRgn(window, shape.get(), TRUE)) return false;
  shape.release();
  return true;
}
