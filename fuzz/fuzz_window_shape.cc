// Arbitrary bytes read as the window's shape picture: the runs must lie inside the picture,
// in row order, and the rectangles joined from them must cover as many pixels as the runs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/shape_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::optional<ShapeRuns> shape = opaque_runs(file, {255, 0, 255});
  if (!shape) return 0;
  int64_t run_pixels = 0;
  int last_row = 0;
  for (const ShapeRun& run : shape->runs) {
    if (run.row < last_row || run.row >= shape->height || run.left < 0 || run.left >= run.right ||
        run.right > shape->width) {
      std::abort();
    }
    last_row = run.row;
    run_pixels += run.right - run.left;
  }
  int64_t rect_pixels = 0;
  for (const ShapeRect& r : join_rows(*shape)) {
    rect_pixels += int64_t{r.right - r.left} * (r.bottom - r.top);
  }
  if (rect_pixels != run_pixels) std::abort();
  return 0;
}
