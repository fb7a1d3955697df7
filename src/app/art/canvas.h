// A small anti-aliased painter over a 32-bit top-down DIB section. Shapes are signed
// distance functions in pixels (negative inside); their coverage is taken at each pixel's
// centre, which gives one pixel of soft edge without supersampling.
#ifndef MOYAN_APP_ART_CANVAS_H_
#define MOYAN_APP_ART_CANVAS_H_

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
  float r, g, b;
};

constexpr Rgb rgb(int r, int g, int b) {
  return Rgb{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}
// t = 0 gives a, t = 1 gives b.
Rgb mix(Rgb a, Rgb b, float t);
inline Rgb lighter(Rgb c, float t) {
  return mix(c, rgb(255, 255, 255), t);
}
inline Rgb darker(Rgb c, float t) {
  return mix(c, rgb(0, 0, 0), t);
}

using Shape = std::function<float(float x, float y)>;

// Coverage in [0, 1] per pixel.
struct Mask {
  int width = 0;
  int height = 0;
  std::vector<float> cover;

  Mask(int w, int h) : width(w), height(h), cover(static_cast<size_t>(w) * h, 0.0f) {}
  float at(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0.0f : cover[size_t(y) * width + x];
  }
};

Mask shape_mask(int width, int height, const Shape& shape);
// The pixels at least half covered, as a region (null when none is).
HRGN region_of(const Mask& mask);
// Box blur repeated twice: a soft glow or shadow.
Mask blurred(const Mask& mask, int radius);

struct TextStyle {
  int height = 12;  // character height in pixels
  int weight = FW_NORMAL;
  bool song = false;  // 宋体 instead of 微软雅黑
};

// The text (GBK) drawn into a mask, centred in the box, on one line.
Mask text_mask(int width, int height, const char* gbk, RECT box, const TextStyle& style);

// Pictures are small; a larger request is refused rather than allowed to eat memory.
constexpr int kMaxSide = 2048;

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return bitmap_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }

  void fill_rect(Rgb c);
  void fill_vertical_gradient(Rgb top, Rgb bottom);
  // Paints colour c through the mask, moved by (dx, dy), with the given opacity.
  void paint(const Mask& mask, Rgb c, float alpha = 1.0f, int dx = 0, int dy = 0);
  // The same with a vertical gradient from top (row y0) to bottom (row y1).
  void paint_gradient(const Mask& mask, Rgb top, Rgb bottom, float y0, float y1, float alpha = 1.0f,
                      int dx = 0, int dy = 0);
  void fill(const Shape& shape, Rgb c, float alpha = 1.0f);
  // Takes every pixel of a canvas of the same size (nothing when the sizes differ).
  void copy_pixels(const Canvas& from);
  Rgb pixel(int x, int y) const;
  void set_pixel(int x, int y, Rgb c);

  // Hands the finished, fully opaque bitmap to the caller; the canvas is empty afterwards.
  HBITMAP release();

 private:
  void blend(int x, int y, Rgb c, float a);

  int width_ = 0;
  int height_ = 0;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// Signed distance functions (pixels; negative inside).
float sd_circle(float x, float y, float cx, float cy, float r);
float sd_ellipse(float x, float y, float cx, float cy, float rx, float ry);
float sd_round_rect(float x, float y, float left, float top, float right, float bottom,
                    float radius);
float sd_segment(float x, float y, float ax, float ay, float bx, float by, float half_width);
// A closed polygon, points as x0, y0, x1, y1, ...
float sd_polygon(float x, float y, const std::vector<float>& points);

inline Shape circle(float cx, float cy, float r) {
  return [=](float x, float y) { return sd_circle(x, y, cx, cy, r); };
}
inline Shape ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) { return sd_ellipse(x, y, cx, cy, rx, ry); };
}
inline Shape round_rect(float l, float t, float r, float b, float radius) {
  return [=](float x, float y) { return sd_round_rect(x, y, l, t, r, b, radius); };
}
inline Shape segment(float ax, float ay, float bx, float by, float half_width) {
  return [=](float x, float y) { return sd_segment(x, y, ax, ay, bx, by, half_width); };
}
inline Shape polygon(std::vector<float> points) {
  return [p = std::move(points)](float x, float y) { return sd_polygon(x, y, p); };
}
Shape unite(Shape a, Shape b);
Shape cut(Shape from, Shape hole);
Shape intersect(Shape a, Shape b);
// The outline of a shape, half_width to either side of its edge.
Shape ring(Shape s, float half_width);

#endif  // MOYAN_APP_ART_CANVAS_H_
