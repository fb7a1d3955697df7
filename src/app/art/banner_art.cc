#include <algorithm>
#include <cstring>

#include "app/art/artwork.h"
#include "app/art/canvas.h"
#include "app/art/palette.h"

namespace {

// Frames of the shine that crosses a banner, and the still frames after it.
constexpr int kShineFrames = 8;
constexpr int kRestFrames = 4;

struct BannerDesign {
  const char* title;
  const char* seal;      // one character in the round badge
  const char* subtitle;  // small Latin line under the title
  Rgb top, bottom;       // background gradient
  Rgb text;
  Rgb badge;
};

BannerDesign design_of(BannerArt art) {
  switch (art) {
    case BannerArt::kCommunity:
      return {"易语言社区", "易",   "COMMUNITY", lighter(kWindowBlue, 0.25f),
              kDeepBlue,    kWhite, kInk};
    case BannerArt::kVendor:
      return {"官方网站", "官", "OFFICIAL SITE", rgb(70, 78, 94), kInk, kWhite, kWindowBlue};
    case BannerArt::kSourceSite:
      return {"源码下载站", "源", "DOWNLOAD", rgb(64, 190, 200), rgb(22, 112, 150), kWhite, kInk};
    case BannerArt::kContact:
    default:
      return {"联系客服", "客", "SERVICE", kPaper, rgb(214, 230, 244), kInk, kVermilion};
  }
}

RECT box(int l, int t, int r, int b) {
  return RECT{l, t, r, b};
}

// What every frame shows under the shine: background, badge and texts.
void paint_ground(Canvas& c, const BannerDesign& d) {
  const int w = c.width(), h = c.height();
  const float k = h / 31.0f;
  c.fill_vertical_gradient(d.top, d.bottom);
  // Badge: a round seal with one character.
  const float br = 9.5f * k, bx = 3 * k + br, by = h / 2.0f;
  c.fill(circle(bx, by + 0.8f, br), kInk, 0.3f);
  c.fill(circle(bx, by, br), d.badge);
  c.fill(ring(circle(bx, by, br - 1.5f * k), 0.45f * k), kWhite, 0.7f);
  TextStyle seal{std::max(8, static_cast<int>(11 * k + 0.5f)), FW_BOLD, false};
  int bl = static_cast<int>(bx - br), bt = static_cast<int>(by - br);
  c.paint(text_mask(w, h, d.seal, box(bl, bt, bl + int(2 * br) + 1, bt + int(2 * br) + 1), seal),
          kWhite);
  // Title and a small subtitle; a long title gets a smaller font so it keeps a margin.
  const int text_left = static_cast<int>(bx + br + 1.5f * k), text_right = w - int(2 * k);
  const int chars = std::max(1, static_cast<int>(std::strlen(d.title)) / 2);
  const int fit = (text_right - text_left - int(4 * k)) / chars;
  TextStyle title{std::max(8, std::min(static_cast<int>(12 * k + 0.5f), fit)), FW_BOLD, false};
  Mask t = text_mask(w, h, d.title, box(text_left, int(2 * k), text_right, int(18 * k)), title);
  bool dark_text = d.text.r < 128;
  if (!dark_text) c.paint(blurred(t, 1), kInk, 0.45f, 0, 1);
  c.paint(t, d.text);
  TextStyle small{std::max(7, static_cast<int>(8 * k + 0.5f)), FW_NORMAL, false};
  Mask sub =
      text_mask(w, h, d.subtitle, box(text_left, int(18 * k), text_right, int(28 * k)), small);
  c.paint(sub, dark_text ? kSlate : kWhite, 0.85f);
}

// The shine: a slanted light band that crosses the banner once per cycle.
void paint_shine(Canvas& c, const BannerDesign& d, int frame) {
  const int w = c.width(), h = c.height();
  const float k = h / 31.0f;
  float span = w + 2 * h;
  float x0 = -h + span * (frame + 0.5f) / kShineFrames;
  float band = 6 * k;
  Shape shine =
      polygon({x0, 0.0f, x0 + band, 0.0f, x0 + band - h * 0.6f, float(h), x0 - h * 0.6f, float(h)});
  // White light shows on dark banners only; a light banner gets a blue gleam.
  bool light = d.top.r + d.top.g + d.top.b > 600;
  c.fill(shine, light ? kWindowBlue : kWhite, light ? 0.22f : 0.35f);
}

// The frame around every picture: a dark outer line and a light inner one.
struct Border {
  Mask outer, inner;
  Border(int w, int h)
      : outer(shape_mask(w, h, ring(round_rect(0, 0, float(w), float(h), 0), 0.5f))),
        inner(shape_mask(w, h, ring(round_rect(1, 1, w - 1.0f, h - 1.0f, 0), 0.5f))) {}
  void paint(Canvas& c, const BannerDesign& d) const {
    c.paint(outer, darker(d.bottom, 0.35f));
    c.paint(inner, kWhite, 0.35f);
  }
};

}  // namespace

// The frames differ only in the shine, so the ground and the border are drawn once and
// every frame starts from a copy of the ground; the still frames are copies of one.
std::vector<HBITMAP> draw_banner_frames(BannerArt art, int width, int height) {
  std::vector<HBITMAP> frames;
  auto give_up = [&frames] {
    for (HBITMAP b : frames) DeleteObject(b);
    return std::vector<HBITMAP>{};
  };
  const BannerDesign d = design_of(art);
  Canvas ground(width, height);
  if (!ground.ok()) return give_up();
  paint_ground(ground, d);
  const Border border(width, height);
  Canvas still(width, height);
  if (!still.ok()) return give_up();
  still.copy_pixels(ground);
  border.paint(still, d);
  for (int i = 0; i < kShineFrames + kRestFrames; ++i) {
    Canvas c(width, height);
    if (!c.ok()) return give_up();
    if (i < kShineFrames) {
      c.copy_pixels(ground);
      paint_shine(c, d, i);
      border.paint(c, d);
    } else {
      c.copy_pixels(still);
    }
    frames.push_back(c.release());
  }
  return frames;
}
