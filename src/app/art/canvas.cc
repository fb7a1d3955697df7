#include "app/art/canvas.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "win32/code_page.h"

Rgb mix(Rgb a, Rgb b, float t) {
  return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

namespace {

// Distances are a few hundred pixels at most: the plain root needs none of hypot's care
// against overflow, and costs a fraction of it.
float length(float x, float y) {
  return std::sqrt(x * x + y * y);
}

float clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

uint8_t to_byte(float v) {
  return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

HBITMAP create_dib(int width, int height, uint32_t** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
  *bits = static_cast<uint32_t*>(raw);
  return raw != nullptr ? bitmap : nullptr;
}

}  // namespace

Mask shape_mask(int width, int height, const Shape& shape) {
  Mask mask(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      mask.cover[size_t(y) * width + x] = clamp01(0.5f - shape(x + 0.5f, y + 0.5f));
    }
  }
  return mask;
}

HRGN region_of(const Mask& mask) {
  HRGN region = nullptr;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width;) {
      if (mask.at(x, y) < 0.5f) {
        ++x;
        continue;
      }
      int start = x;
      while (x < mask.width && mask.at(x, y) >= 0.5f) ++x;
      HRGN run = CreateRectRgn(start, y, x, y + 1);
      if (region == nullptr) {
        region = run;
      } else {
        CombineRgn(region, region, run, RGN_OR);
        DeleteObject(run);
      }
    }
  }
  return region;
}

Mask blurred(const Mask& mask, int radius) {
  Mask a = mask;
  Mask b(mask.width, mask.height);
  const float n = 2.0f * radius + 1.0f;
  for (int pass = 0; pass < 2; ++pass) {
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) {
        float s = 0;
        for (int k = -radius; k <= radius; ++k) s += a.at(x + k, y);
        b.cover[size_t(y) * a.width + x] = s / n;
      }
    }
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) {
        float s = 0;
        for (int k = -radius; k <= radius; ++k) s += b.at(x, y + k);
        a.cover[size_t(y) * a.width + x] = s / n;
      }
    }
  }
  return a;
}

Mask text_mask(int width, int height, const char* gbk, RECT box, const TextStyle& style) {
  Mask mask(width, height);
  uint32_t* bits = nullptr;
  HBITMAP bitmap = create_dib(width, height, &bits);
  if (bitmap == nullptr) return mask;
  std::fill(bits, bits + size_t(width) * height, 0u);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  std::wstring face = win32::widen(style.song ? "宋体" : "微软雅黑");
  HFONT font = CreateFontW(-style.height, 0, 0, 0, style.weight, FALSE, FALSE, FALSE,
                           GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  std::wstring text = win32::widen(gbk);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  GdiFlush();
  for (size_t i = 0; i < mask.cover.size(); ++i) {
    uint32_t p = bits[i];
    uint32_t m = std::max({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF});
    mask.cover[i] = static_cast<float>(m) / 255.0f;
  }
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteObject(font);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return mask;
}

Canvas::Canvas(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return;
  bitmap_ = create_dib(width, height, &bits_);
  if (bitmap_ == nullptr) return;
  width_ = width;
  height_ = height;
  std::fill(bits_, bits_ + size_t(width) * height, 0xFF000000u);
}

Canvas::~Canvas() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

Rgb Canvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return rgb(0, 0, 0);
  uint32_t p = bits_[size_t(y) * width_ + x];
  return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::set_pixel(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  bits_[size_t(y) * width_ + x] =
      0xFF000000u | (uint32_t(to_byte(c.r)) << 16) | (uint32_t(to_byte(c.g)) << 8) | to_byte(c.b);
}

void Canvas::blend(int x, int y, Rgb c, float a) {
  if (a <= 0.0f) return;
  set_pixel(x, y, a >= 1.0f ? c : mix(pixel(x, y), c, a));
}

void Canvas::fill_rect(Rgb c) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) set_pixel(x, y, c);
  }
}

void Canvas::fill_vertical_gradient(Rgb top, Rgb bottom) {
  for (int y = 0; y < height_; ++y) {
    Rgb c = mix(top, bottom, height_ > 1 ? float(y) / float(height_ - 1) : 0.0f);
    for (int x = 0; x < width_; ++x) set_pixel(x, y, c);
  }
}

void Canvas::paint(const Mask& mask, Rgb c, float alpha, int dx, int dy) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) blend(x, y, c, mask.at(x - dx, y - dy) * alpha);
  }
}

void Canvas::paint_gradient(const Mask& mask, Rgb top, Rgb bottom, float y0, float y1, float alpha,
                            int dx, int dy) {
  for (int y = 0; y < height_; ++y) {
    float t = y1 > y0 ? clamp01((y + 0.5f - y0) / (y1 - y0)) : 0.0f;
    Rgb c = mix(top, bottom, t);
    for (int x = 0; x < width_; ++x) blend(x, y, c, mask.at(x - dx, y - dy) * alpha);
  }
}

void Canvas::fill(const Shape& shape, Rgb c, float alpha) {
  paint(shape_mask(width_, height_, shape), c, alpha);
}

void Canvas::copy_pixels(const Canvas& from) {
  if (bits_ == nullptr || from.bits_ == nullptr || from.width_ != width_ ||
      from.height_ != height_) {
    return;
  }
  std::copy(from.bits_, from.bits_ + size_t(width_) * height_, bits_);
}

HBITMAP Canvas::release() {
  if (bitmap_ == nullptr) return nullptr;
  GdiFlush();
  for (size_t i = 0; i < size_t(width_) * height_; ++i) bits_[i] |= 0xFF000000u;
  HBITMAP out = bitmap_;
  bitmap_ = nullptr;
  bits_ = nullptr;
  return out;
}

float sd_circle(float x, float y, float cx, float cy, float r) {
  return length(x - cx, y - cy) - r;
}

float sd_ellipse(float x, float y, float cx, float cy, float rx, float ry) {
  // A first-order estimate; exact enough for one pixel of anti-aliasing.
  float px = (x - cx) / rx, py = (y - cy) / ry;
  float k0 = length(px, py);
  float k1 = length(px / rx, py / ry);
  if (k1 < 1e-6f) return -std::min(rx, ry);
  return k0 * (k0 - 1.0f) / k1;
}

float sd_round_rect(float x, float y, float left, float top, float right, float bottom,
                    float radius) {
  float hx = (right - left) / 2, hy = (bottom - top) / 2;
  radius = std::min({radius, hx, hy});
  float qx = std::fabs(x - (left + right) / 2) - (hx - radius);
  float qy = std::fabs(y - (top + bottom) / 2) - (hy - radius);
  float outside = length(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sd_segment(float x, float y, float ax, float ay, float bx, float by, float half_width) {
  float pax = x - ax, pay = y - ay, bax = bx - ax, bay = by - ay;
  float len2 = bax * bax + bay * bay;
  float h = len2 > 0 ? clamp01((pax * bax + pay * bay) / len2) : 0.0f;
  return length(pax - bax * h, pay - bay * h) - half_width;
}

float sd_polygon(float x, float y, const std::vector<float>& p) {
  size_t n = p.size() / 2;
  if (n < 3) return 1e9f;
  float d = (x - p[0]) * (x - p[0]) + (y - p[1]) * (y - p[1]);
  float s = 1.0f;
  for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
    float vix = p[2 * i], viy = p[2 * i + 1], vjx = p[2 * j], vjy = p[2 * j + 1];
    float ex = vjx - vix, ey = vjy - viy, wx = x - vix, wy = y - viy;
    float h = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
    float bx = wx - ex * h, by = wy - ey * h;
    d = std::min(d, bx * bx + by * by);
    bool c1 = y >= viy, c2 = y<vjy, c3 = ex * wy> ey * wx;
    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
  }
  return s * std::sqrt(d);
}

Shape unite(Shape a, Shape b) {
  return
      [a = std::move(a), b = std::move(b)](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Shape cut(Shape from, Shape hole) {
  return [f = std::move(from), h = std::move(hole)](float x, float y) {
    return std::max(f(x, y), -h(x, y));
  };
}

Shape intersect(Shape a, Shape b) {
  return
      [a = std::move(a), b = std::move(b)](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Shape ring(Shape s, float half_width) {
  return
      [s = std::move(s), half_width](float x, float y) { return std::fabs(s(x, y)) - half_width; };
}
