#ifndef MOYAN_APP_SHAPE_PICTURE_H_
#define MOYAN_APP_SHAPE_PICTURE_H_

// The window's outline from a shape picture: a Windows bitmap file whose pixels of one
// colour (the transparent colour) lie outside the outline. Portable: the Windows side turns
// the rectangles into a window region.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct ShapeColour {
  uint8_t r = 0, g = 0, b = 0;
};

// One run of opaque pixels in a row: [left, right), rows counted from the top.
struct ShapeRun {
  int row = 0;
  int left = 0;
  int right = 0;
  friend bool operator==(const ShapeRun&, const ShapeRun&) = default;
};

// A rectangle of opaque pixels: [left, right) × [top, bottom).
struct ShapeRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const ShapeRect&, const ShapeRect&) = default;
};

struct ShapeRuns {
  int width = 0, height = 0;
  std::vector<ShapeRun> runs;  // row by row from the top, left to right within a row
};

// The largest picture taken (2048 × 2048 pixels): its runs stay within a few megabytes.
constexpr int64_t kMaxShapePixels = int64_t{2048} * 2048;

// The opaque runs of a whole, uncompressed 24- or 32-bit bitmap file (bottom-up or
// top-down rows); nothing for any other bytes, a cut file, or a picture over the limit.
std::optional<ShapeRuns> opaque_runs(std::string_view bitmap_file, ShapeColour transparent);

// Runs joined into rectangles: rows whose runs are the same, one after the other, become
// one band of rectangles (a plain rounded rectangle gives a few dozen, not a run per row).
std::vector<ShapeRect> join_rows(const ShapeRuns& shape);

#endif  // MOYAN_APP_SHAPE_PICTURE_H_
