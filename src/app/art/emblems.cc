#include "app/art/emblems.h"

#include <cmath>

namespace {

// Emblems are designed on a grid from -16 to 16 in both directions; Grid maps it to pixels.
struct Grid {
  float cx, cy, k;
  float x(float u) const { return cx + u * k; }
  float y(float v) const { return cy + v * k; }
  float d(float u) const { return u * k; }

  Shape circle_at(float u, float v, float r) const { return circle(x(u), y(v), d(r)); }
  Shape ellipse_at(float u, float v, float ru, float rv) const {
    return ellipse(x(u), y(v), d(ru), d(rv));
  }
  Shape box(float l, float t, float r, float b, float radius) const {
    return round_rect(x(l), y(t), x(r), y(b), d(radius));
  }
  Shape line(float u0, float v0, float u1, float v1, float half_width) const {
    return segment(x(u0), y(v0), x(u1), y(v1), d(half_width));
  }
  Shape poly(std::initializer_list<float> uv) const {
    std::vector<float> p;
    bool is_x = true;
    for (float c : uv) {
      p.push_back(is_x ? x(c) : y(c));
      is_x = !is_x;
    }
    return polygon(std::move(p));
  }
  // Everything below row v (grid units).
  Shape below(float v) const {
    float row = y(v);
    return [row](float, float py) { return row - py; };
  }
};

Shape gear(const Grid& g) {
  Shape s = g.circle_at(0, 0, 9.5f);
  for (int i = 0; i < 8; ++i) {
    float a = static_cast<float>(i) * 3.14159265f / 4.0f;
    s = unite(s,
              g.line(std::cos(a) * 8, std::sin(a) * 8, std::cos(a) * 13, std::sin(a) * 13, 2.8f));
  }
  return cut(s, g.circle_at(0, 0, 4.2f));
}

Shape globe(const Grid& g) {
  Shape s = ring(g.circle_at(0, 0, 12.5f), g.d(1.6f));
  s = unite(s, ring(g.ellipse_at(0, 0, 5.5f, 12.5f), g.d(1.3f)));
  s = unite(s, g.line(-12.5f, 0, 12.5f, 0, 1.2f));
  s = unite(s, g.line(-10.6f, -6.5f, 10.6f, -6.5f, 1.1f));
  return unite(s, g.line(-10.6f, 6.5f, 10.6f, 6.5f, 1.1f));
}

Shape blocks(const Grid& g) {
  Shape s = g.box(-13, -13, -1.5f, -1.5f, 2.5f);
  s = unite(s, g.box(1.5f, -13, 13, -1.5f, 2.5f));
  s = unite(s, g.box(-13, 1.5f, -1.5f, 13, 2.5f));
  return unite(s, ring(g.box(2.8f, 2.8f, 11.7f, 11.7f, 2), g.d(1.3f)));
}

Shape briefcase(const Grid& g) {
  Shape body = cut(g.box(-14.5f, -6, 14.5f, 12, 3), g.line(-15, 1.5f, 15, 1.5f, 0.9f));
  body = unite(body, g.box(-3, -0.5f, 3, 4, 1));
  Shape handle = cut(ring(g.box(-6.5f, -12.5f, 6.5f, -3, 3), g.d(1.6f)), g.below(-6));
  return unite(body, handle);
}

Shape gamepad(const Grid& g) {
  Shape s = unite(g.box(-15, -8, 15, 4, 6), unite(g.circle_at(-9, 4, 6), g.circle_at(9, 4, 6)));
  s = cut(s, g.line(-12, -1.5f, -5, -1.5f, 1.4f));
  s = cut(s, g.line(-8.5f, -5, -8.5f, 2, 1.4f));
  s = cut(s, g.circle_at(6.5f, 0.5f, 2));
  return cut(s, g.circle_at(10.5f, -3.5f, 2));
}

Shape play(const Grid& g) {
  Shape s = ring(g.circle_at(0, 0, 13), g.d(1.7f));
  return unite(s, g.poly({-4.5f, -7.5f, 8, 0, -4.5f, 7.5f}));
}

Shape cylinder(const Grid& g) {
  Shape s =
      unite(g.box(-11, -9, 11, 9, 0), unite(g.ellipse_at(0, -9, 11, 4), g.ellipse_at(0, 9, 11, 4)));
  for (float v : {-9.0f, -2.5f, 4.0f}) {
    Shape rim = ring(g.ellipse_at(0, v, 11, 4), g.d(0.9f));
    s = cut(s, intersect(rim, g.below(v)));
  }
  return s;
}

Shape picture(const Grid& g) {
  Shape s = ring(g.box(-14, -11, 14, 11, 3), g.d(1.6f));
  s = unite(s, g.poly({-11, 8.5f, -4, -2, 0, 3.5f, 4, -0.5f, 11, 8.5f}));
  return unite(s, g.circle_at(6, -5, 2.8f));
}

Shape code_folder(const Grid& g) {
  Shape s = unite(g.box(-14, -8, 14, 12, 2.5f), g.box(-14, -12, -2, -5, 2));
  s = cut(s, g.line(-5, 0, -8.5f, 3.5f, 1.1f));
  s = cut(s, g.line(-8.5f, 3.5f, -5, 7, 1.1f));
  s = cut(s, g.line(5, 0, 8.5f, 3.5f, 1.1f));
  s = cut(s, g.line(8.5f, 3.5f, 5, 7, 1.1f));
  return cut(s, g.line(1.5f, -1, -1.5f, 8, 1.1f));
}

Shape magnifier(const Grid& g) {
  Shape s = ring(g.circle_at(-3, -3, 9), g.d(2.1f));
  s = unite(s, g.line(4, 4, 12, 12, 3));
  return unite(s, cut(ring(g.circle_at(-3, -3, 5.2f), g.d(1)), g.below(-3.5f)));
}

}  // namespace

Shape button_emblem(ButtonArt art, float cx, float cy, float size) {
  Grid g{cx, cy, size / 32.0f};
  switch (art) {
    case ButtonArt::kSystemTools:
      return gear(g);
    case ButtonArt::kNetwork:
      return globe(g);
    case ButtonArt::kModules:
      return blocks(g);
    case ButtonArt::kIndustry:
      return briefcase(g);
    case ButtonArt::kGames:
      return gamepad(g);
    case ButtonArt::kMultimedia:
      return play(g);
    case ButtonArt::kDatabase:
      return cylinder(g);
    case ButtonArt::kGraphics:
      return picture(g);
    case ButtonArt::kSourceManagement:
      return code_folder(g);
    case ButtonArt::kSourceSearch:
    case ButtonArt::kSearch:
      return magnifier(g);
    default:
      return nullptr;
  }
}
