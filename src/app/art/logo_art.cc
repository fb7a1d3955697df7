#include <algorithm>
#include <cmath>
#include <tuple>

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

// `shape` turned by `degrees` about (cx, cy).
Shape turned(Shape shape, float cx, float cy, float degrees) {
  const float c = std::cos(degrees * 3.14159265f / 180), s = std::sin(degrees * 3.14159265f / 180);
  return [=](float x, float y) {
    const float dx = x - cx, dy = y - cy;
    return shape(cx + c * dx + s * dy, cy - s * dx + c * dy);
  };
}

// A name seal as a stamp leaves it: a vermilion square, set down a little askew, its edge
// worn in places, with the character 工 cut into it so that it prints white. Solid, and
// with a character inside rather than a frame, it can't be taken for a box standing in
// for a missing character. In a square of `size` pixels at (x, y).
void paint_seal(Canvas& c, float x, float y, float size) {
  const float k = size / 14.0f;
  auto X = [&](float u) { return x + u * k; };
  auto Y = [&](float v) { return y + v * k; };
  const float cx = X(7), cy = Y(7);
  // Worn: small bites out of the edge, where the stone was chipped or the paste ran thin.
  Shape stone = round_rect(X(0.5f), Y(0.5f), X(13.5f), Y(13.5f), 1.2f * k);
  for (auto [u, v, r] : {std::tuple{13.6f, 4.5f, 0.9f},
                         {3.0f, 13.7f, 0.8f},
                         {0.4f, 9.5f, 0.6f},
                         {9.5f, 0.3f, 0.5f}}) {
    stone = cut(stone, circle(X(u), Y(v), r * k));
  }
  // The character's strokes: a short bar above, a long bar below, a stem between.
  const float stroke = 0.95f * k;
  Shape character = unite(unite(segment(X(4.0f), Y(4.2f), X(10.0f), Y(4.2f), stroke),
                                segment(X(7.0f), Y(4.2f), X(7.0f), Y(10.0f), stroke)),
                          segment(X(3.0f), Y(10.0f), X(11.0f), Y(10.0f), stroke));
  c.fill(turned(cut(stone, character), cx, cy, -4), kVermilion);
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
  paint_seal(c, w - 16.5f * k, 40 * k, 14 * k);
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
