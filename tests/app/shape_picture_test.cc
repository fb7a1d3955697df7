// The window's outline from its shape picture: the carried picture's corners, the runs of
// any bitmap file, and the rectangles they are joined into.
#include "app/shape_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "store/attachment.h"

namespace {

constexpr ShapeColour kMagenta = {255, 0, 255};

void put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// A bitmap file of `rows` (top row first; 'x' transparent, anything else opaque) in the
// given pixel size and row order.
std::string bitmap(const std::vector<std::string>& rows, int bits = 24, bool top_down = false) {
  const int width = static_cast<int>(rows[0].size());
  const int height = static_cast<int>(rows.size());
  const int stride = (width * bits + 31) / 32 * 4;
  std::string pixels;
  for (int i = 0; i < height; ++i) {
    const std::string& row = rows[top_down ? i : height - 1 - i];
    std::string line;
    for (char c : row) {
      if (c == 'x') {
        line += std::string("\xff\x00\xff", 3);
      } else {
        line += std::string("\x10\x20\x30", 3);
      }
      if (bits == 32) line.push_back('\0');
    }
    line.resize(static_cast<size_t>(stride), '\0');
    pixels += line;
  }
  std::string file = "BM";
  put32(file, static_cast<uint32_t>(54 + pixels.size()));
  put32(file, 0);
  put32(file, 54);
  put32(file, 40);
  put32(file, static_cast<uint32_t>(width));
  put32(file, static_cast<uint32_t>(top_down ? -height : height));
  put16(file, 1);
  put16(file, static_cast<uint32_t>(bits));
  put32(file, 0);
  file.append(20, '\0');
  return file + pixels;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---- The carried picture -------------------------------------------------------------

TEST(ShapePicture, CarriedPictureHasExactlyTheRoundedCorners) {
  const ByteSet packed(read_file(MOYAN_SHAPE_PICTURE_FILE));
  ASSERT_FALSE(packed.empty()) << "the shape picture was not written";
  const ByteSet picture = unpack_attachment(packed);
  ASSERT_EQ(picture.size(), 1443542u) << "unpacked size of an 842 x 571 24-bit bitmap file";
  const std::optional<ShapeRuns> shape = opaque_runs(picture.view(), kMagenta);
  ASSERT_TRUE(shape);
  EXPECT_EQ(shape->width, 842);
  EXPECT_EQ(shape->height, 571);

  const int left[] = {6, 4, 3, 2, 1, 1};
  const int right[] = {5, 3, 2, 1, 0, 0};
  std::vector<ShapeRun> expected;
  for (int row = 0; row < 571; ++row) {
    const int from_edge = std::min(row, 570 - row);
    const int l = from_edge < 6 ? left[from_edge] : 0;
    const int r = from_edge < 6 ? right[from_edge] : 0;
    expected.push_back({row, l, 842 - r});
  }
  ASSERT_EQ(shape->runs.size(), expected.size()) << "one run per row";
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(shape->runs[i], expected[i]) << "row " << expected[i].row;
  }
  // Four corner rows of their own and a band of two alike at each end, one band between.
  EXPECT_EQ(join_rows(*shape).size(), 11u);
}

TEST(ShapePicture, CarriedInThePackedAttachmentForm) {
  // The carried form is the store's packed attachment form: packing the picture again
  // gives bytes that unpack to the same picture.
  const ByteSet picture = unpack_attachment(ByteSet(read_file(MOYAN_SHAPE_PICTURE_FILE)));
  EXPECT_EQ(unpack_attachment(pack_attachment(picture)), picture);
}

// ---- Runs of any picture -------------------------------------------------------------

TEST(ShapePicture, RunsOfSmallPictures) {
  const std::vector<std::string> picture = {
      "xx..x",
      ".....",
      "xxxxx",
      "x.x.x",
  };
  const std::vector<ShapeRun> runs = {{0, 2, 4}, {1, 0, 5}, {3, 1, 2}, {3, 3, 4}};
  const struct {
    const char* name;
    std::string file;
  } cases[] = {
      {"24 bits, bottom-up", bitmap(picture)},
      {"24 bits, top-down", bitmap(picture, 24, true)},
      {"32 bits, bottom-up", bitmap(picture, 32)},
      {"32 bits, top-down", bitmap(picture, 32, true)},
  };
  for (const auto& c : cases) {
    const std::optional<ShapeRuns> shape = opaque_runs(c.file, kMagenta);
    ASSERT_TRUE(shape) << c.name;
    EXPECT_EQ(shape->width, 5) << c.name;
    EXPECT_EQ(shape->height, 4) << c.name;
    EXPECT_EQ(shape->runs, runs) << c.name;
  }
}

TEST(ShapePicture, RefusesWhatIsNotAWholePlainBitmapFile) {
  const std::string good = bitmap({"x..", "..."});
  auto with = [&](size_t at, std::string bytes) {
    std::string file = good;
    file.replace(at, bytes.size(), bytes);
    return file;
  };
  auto u32 = [](int32_t v) {
    std::string s;
    put32(s, static_cast<uint32_t>(v));
    return s;
  };
  std::string huge = good;
  huge.replace(18, 4, u32(4096));
  huge.replace(22, 4, u32(4096));
  const struct {
    const char* name;
    std::string file;
  } cases[] = {
      {"empty", ""},
      {"headers cut", good.substr(0, 53)},
      {"pixels cut", good.substr(0, good.size() - 1)},
      {"not BM", with(0, "MB")},
      {"8 bits per pixel", with(28, std::string("\x08\x00", 2))},
      {"16 bits per pixel", with(28, std::string("\x10\x00", 2))},
      {"compressed", with(30, u32(1))},
      {"two planes", with(26, std::string("\x02\x00", 2))},
      {"width 0", with(18, u32(0))},
      {"negative width", with(18, u32(-3))},
      {"height 0", with(22, u32(0))},
      {"height of no positive counterpart", with(22, u32(INT32_MIN))},
      {"info header of 12 bytes", with(14, u32(12))},
      {"pixels start inside the headers", with(10, u32(20))},
      {"pixels start past the end", with(10, u32(1 << 30))},
      {"over the pixel limit", huge},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(opaque_runs(c.file, kMagenta)) << c.name << ": taken";
  }
}

// ---- Rectangles ----------------------------------------------------------------------

// Whatever the picture, the rectangles cover exactly its opaque pixels, each once, and
// come sorted by row as a region keeps them.
TEST(ShapePicture, RectanglesCoverExactlyTheOpaquePixels) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const int width = 1 + static_cast<int>(random() % 12);
    const int height = 1 + static_cast<int>(random() % 10);
    std::vector<std::string> rows(static_cast<size_t>(height));
    for (size_t y = 0; y < rows.size(); ++y) {
      for (int x = 0; x < width; ++x) rows[y].push_back(random() % 3 == 0 ? 'x' : '.');
      if (y > 0 && random() % 3 == 0) rows[y] = rows[y - 1];  // bands of equal rows
    }
    const std::optional<ShapeRuns> shape = opaque_runs(bitmap(rows), kMagenta);
    ASSERT_TRUE(shape);
    const std::vector<ShapeRect> rects = join_rows(*shape);
    std::vector<int> covered(static_cast<size_t>(width * height), 0);
    int last_top = -1;
    for (const ShapeRect& r : rects) {
      EXPECT_GE(r.top, last_top) << "rectangles out of row order";
      last_top = r.top;
      for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) ++covered[static_cast<size_t>(y * width + x)];
      }
    }
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const int want = rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == 'x' ? 0 : 1;
        ASSERT_EQ(covered[static_cast<size_t>(y * width + x)], want)
            << "trial " << trial << ", pixel (" << x << ", " << y << ")";
      }
    }
  }
}

TEST(ShapePicture, EqualRowsBecomeOneBand) {
  const std::optional<ShapeRuns> shape =
      opaque_runs(bitmap({"x..x", "x..x", "x..x", "....", "....", "x..x"}), kMagenta);
  ASSERT_TRUE(shape);
  const std::vector<ShapeRect> expected = {{1, 0, 3, 3}, {0, 3, 4, 5}, {1, 5, 3, 6}};
  EXPECT_EQ(join_rows(*shape), expected);
}

}  // namespace
