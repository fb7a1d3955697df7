#include "app/shape_picture.h"

#include <cstddef>

// A bitmap file as read here. Integers are little-endian.
//   file header, 14 bytes: "BM", file size (4, not trusted), 4 reserved, pixel offset (4)
//   info header, from byte 14: its size (4, 40 or more), width (4, signed), height (4,
//     signed; negative for rows stored top-down), planes (2, 1), bits per pixel (2, 24 or
//     32), compression (4, 0 for none)
//   pixels from the pixel offset: rows of width × bits / 8 bytes padded to 4, blue, green,
//     red (and a fourth byte at 32 bits), bottom row first unless the height is negative.

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeaderMin = 40;

uint32_t u32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t u16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

}  // namespace

std::optional<ShapeRuns> opaque_runs(std::string_view file, ShapeColour transparent) {
  if (file.size() < kFileHeader + kInfoHeaderMin || file[0] != 'B' || file[1] != 'M') {
    return std::nullopt;
  }
  const uint64_t pixel_offset = u32(file, 10);
  const uint32_t info_size = u32(file, 14);
  const auto width = static_cast<int32_t>(u32(file, 18));
  const auto stored_height = static_cast<int32_t>(u32(file, 22));
  const uint16_t planes = u16(file, 26);
  const uint16_t bits = u16(file, 28);
  const uint32_t compression = u32(file, 30);
  if (info_size < kInfoHeaderMin || planes != 1 || (bits != 24 && bits != 32) || compression != 0) {
    return std::nullopt;
  }
  // INT32_MIN has no positive counterpart: refused with the other sizes out of range.
  if (width <= 0 || stored_height == 0 || stored_height == INT32_MIN) return std::nullopt;
  const bool top_down = stored_height < 0;
  const int64_t height = top_down ? -int64_t{stored_height} : stored_height;
  if (int64_t{width} * height > kMaxShapePixels) return std::nullopt;
  const uint64_t stride = (uint64_t{static_cast<uint32_t>(width)} * bits + 31) / 32 * 4;
  if (pixel_offset < kFileHeader + info_size ||
      pixel_offset + stride * static_cast<uint64_t>(height) > file.size()) {
    return std::nullopt;
  }

  ShapeRuns shape;
  shape.width = width;
  shape.height = static_cast<int>(height);
  const size_t step = bits / 8;
  for (int row = 0; row < shape.height; ++row) {
    const uint64_t stored_row = top_down ? row : height - 1 - row;
    const char* pixels = file.data() + pixel_offset + stored_row * stride;
    int run_start = -1;
    for (int x = 0; x <= width; ++x) {
      bool opaque = false;
      if (x < width) {
        const auto* p = reinterpret_cast<const uint8_t*>(pixels + static_cast<size_t>(x) * step);
        opaque = p[0] != transparent.b || p[1] != transparent.g || p[2] != transparent.r;
      }
      if (opaque && run_start < 0) run_start = x;
      if (!opaque && run_start >= 0) {
        shape.runs.push_back({row, run_start, x});
        run_start = -1;
      }
    }
  }
  return shape;
}

std::vector<ShapeRect> join_rows(const ShapeRuns& shape) {
  std::vector<ShapeRect> rects;
  const std::vector<ShapeRun>& runs = shape.runs;
  size_t band_start = 0;  // first run of the band being grown
  size_t band_end = 0;    // one past its last run (of its first row)
  int band_top = 0;
  int band_bottom = 0;
  auto flush = [&] {
    for (size_t i = band_start; i < band_end; ++i) {
      rects.push_back({runs[i].left, band_top, runs[i].right, band_bottom});
    }
  };
  size_t i = 0;
  while (i < runs.size()) {
    // The runs of one row.
    size_t row_end = i;
    while (row_end < runs.size() && runs[row_end].row == runs[i].row) ++row_end;
    const bool continues_band = band_end > band_start && runs[i].row == band_bottom &&
                                row_end - i == band_end - band_start && [&] {
                                  for (size_t k = 0; k < row_end - i; ++k) {
                                    if (runs[i + k].left != runs[band_start + k].left ||
                                        runs[i + k].right != runs[band_start + k].right) {
                                      return false;
                                    }
                                  }
                                  return true;
                                }();
    if (continues_band) {
      ++band_bottom;
    } else {
      flush();
      band_start = i;
      band_end = row_end;
      band_top = runs[i].row;
      band_bottom = band_top + 1;
    }
    i = row_end;
  }
  flush();
  return rects;
}
