#include <algorithm>

#include "app/art/artwork.h"
#include "app/art/canvas.h"
#include "app/art/palette.h"

namespace {

RECT box(float l, float t, float r, float b) {
  return RECT{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r),
              static_cast<LONG>(b)};
}

// An ink stone seen from the front with a brush resting on it, in a square of `size`
// pixels at (x, y).
void paint_ink_stone(Canvas& c, float x, float y, float size) {
  const int w = c.width(), h = c.height();
  const float k = size / 56.0f;
  auto X = [&](float u) { return x + u * k; };
  auto Y = [&](float v) { return y + v * k; };
  // Shadow on the paper, the stone, its rim light and the ink pool.
  c.paint(blurred(shape_mask(w, h, ellipse(X(28), Y(50), 25 * k, 4 * k)), 2), kInk, 0.25f);
  Shape stone = round_rect(X(3), Y(24), X(53), Y(50), 12 * k);
  c.paint_gradient(shape_mask(w, h, stone), rgb(78, 86, 102), kInk, Y(24), Y(50));
  c.fill(ring(round_rect(X(4), Y(25), X(52), Y(49), 11 * k), 0.5f), kWhite, 0.25f);
  Shape pool = ellipse(X(28), Y(33), 18 * k, 5.5f * k);
  c.fill(pool, rgb(8, 10, 16));
  c.fill(ring(pool, 0.6f * k), rgb(130, 140, 160), 0.7f);
  c.fill(ellipse(X(21), Y(31.5f), 5 * k, 1.3f * k), kWindowBlue, 0.7f);
  // The brush: a blue handle with an ink end cap, a ferrule, and a drop-shaped tip whose
  // point dips into the pool.
  c.fill(segment(X(50), Y(2), X(37.5f), Y(19), 2.3f * k), darker(kWindowBlue, 0.15f));
  c.fill(segment(X(49.3f), Y(2.5f), X(37.5f), Y(18.5f), 0.7f * k), kWhite, 0.55f);
  c.fill(segment(X(50), Y(2), X(48.6f), Y(3.9f), 2.4f * k), kInk);
  c.fill(segment(X(37.5f), Y(19), X(36.2f), Y(20.8f), 2.9f * k), rgb(96, 104, 120));
  c.fill(unite(circle(X(34.9f), Y(22.6f), 2.9f * k),
               polygon({X(37.2f), Y(24.3f), X(29.5f), Y(31.5f), X(32.6f), Y(20.9f)})),
         kInk);
}

}  // namespace

HBITMAP draw_logo(int width, int height) {
  Canvas c(width, height);
  if (!c.ok()) return nullptr;
  const int w = width, h = height;
  const float k = std::min(w / 180.0f, h / 60.0f);
  c.fill_rect(kWhite);
  paint_ink_stone(c, 2 * k, (h - 56 * k) / 2, 56 * k);
  const float left = 62 * k;
  TextStyle name{std::max(10, static_cast<int>(27 * k + 0.5f)), FW_BOLD, false};
  Mask title = text_mask(w, h, "墨砚工坊", box(left, 2 * k, w - 2.0f, 38 * k), name);
  c.paint(blurred(title, 1), kWindowBlue, 0.45f, 1, 1);
  c.paint(title, kInk);
  // Subtitle in the window's blue, closed by a small vermilion seal.
  TextStyle small{std::max(8, static_cast<int>(11 * k + 0.5f)), FW_NORMAL, false};
  Mask sub = text_mask(w, h, "易语言源码小助手", box(left, 38 * k, w - 16 * k, 56 * k), small);
  c.paint(sub, kDeepBlue);
  Shape seal = round_rect(w - 14 * k, 41 * k, w - 3 * k, 52 * k, 1.5f * k);
  c.fill(seal, kVermilion);
  c.fill(ring(round_rect(w - 12.5f * k, 42.5f * k, w - 4.5f * k, 50.5f * k, 1), 0.4f), kWhite,
         0.8f);
  return c.release();
}

HBITMAP draw_blue_tile(int width, int height) {
  Canvas c(width, height);
  if (!c.ok()) return nullptr;
  const int w = width, h = height;
  c.fill_vertical_gradient(lighter(kWindowBlue, 0.35f), kDeepBlue);
  // Four panes of different blues under a shared highlight, like a small window.
  const float mx = w / 2.0f, my = h / 2.0f;
  c.fill(round_rect(1, 1, mx - 0.5f, my - 0.5f, 1), lighter(kWindowBlue, 0.45f), 0.8f);
  c.fill(round_rect(mx + 0.5f, my + 0.5f, w - 1.0f, h - 1.0f, 1), kDeepBlue, 0.8f);
  c.fill(ring(round_rect(0, 0, float(w), float(h), 1.5f), 0.5f), darker(kDeepBlue, 0.3f));
  c.fill(segment(1.5f, 1.5f, w - 2.0f, 1.5f, 0.5f), kWhite, 0.6f);
  return c.release();
}
