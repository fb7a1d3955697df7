#include <algorithm>
#include <array>
#include <optional>

#include "app/art/artwork.h"
#include "app/art/canvas.h"
#include "app/art/emblems.h"
#include "app/art/palette.h"

namespace {

enum class Look { kNormal, kHover, kPressed };

// How a look changes a picture: the face is lightened or darkened, and a pressed
// picture's content sits one pixel lower and further right.
struct LookStyle {
  Look look;
  float ox, oy;

  explicit LookStyle(Look l) : look(l), ox(l == Look::kPressed ? 1.0f : 0.0f), oy(ox) {}
  Rgb face(Rgb c) const {
    if (look == Look::kHover) return lighter(c, 0.22f);
    if (look == Look::kPressed) return darker(c, 0.18f);
    return c;
  }
  int dx() const { return static_cast<int>(ox); }
};

const char* label_of(ButtonArt art) {
  switch (art) {
    case ButtonArt::kSystemTools:
      return "系统工具";
    case ButtonArt::kNetwork:
      return "网络相关";
    case ButtonArt::kModules:
      return "模块控件";
    case ButtonArt::kIndustry:
      return "行业控件";
    case ButtonArt::kGames:
      return "游戏娱乐";
    case ButtonArt::kMultimedia:
      return "多媒体类";
    case ButtonArt::kDatabase:
      return "数据库类";
    case ButtonArt::kGraphics:
      return "图形图像";
    case ButtonArt::kSourceManagement:
      return "源码管理";
    case ButtonArt::kSourceSearch:
    case ButtonArt::kSearch:
      return "源码搜索";
    case ButtonArt::kUpdate:
      return "更新数据";
    case ButtonArt::kAdd:
      return "添加源码";
    case ButtonArt::kChoose:
      return "选择源码";
    case ButtonArt::kConfirm:
      return "确定修改";
    case ButtonArt::kCancel:
      return "取消修改";
    case ButtonArt::kContact:
      return "客服";
    default:
      return "";
  }
}

RECT box(float l, float t, float r, float b) {
  return RECT{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r),
              static_cast<LONG>(b)};
}

// The masks a button's three looks share (the looks differ in colour and in where the
// content sits, not in the content's shape): each is made once, by the first look.
class SharedMasks {
 public:
  enum Slot { kFace, kGlyph, kGlyphShadow, kLabel, kLabelShadow, kSlots };

  template <typename Make>
  const Mask& get(Slot slot, Make make) {
    std::optional<Mask>& held = masks_[slot];
    if (!held) held.emplace(make());
    return *held;
  }

 private:
  std::array<std::optional<Mask>, kSlots> masks_;
};

// White content with a soft ink shadow below it, as if cut out of the face.
void paint_white_with_shadow(Canvas& c, const Mask& m, const Mask& shadow, int dx) {
  c.paint(shadow, kInkShadow, 0.55f, dx + 1, dx + 1);
  c.paint(m, kWhite, 1.0f, dx, dx);
}

// The emblem and the label, each with its shadow.
template <typename MakeMask>
void paint_cutout(Canvas& c, SharedMasks& shared, SharedMasks::Slot slot,
                  SharedMasks::Slot shadow_slot, MakeMask make, int dx) {
  const Mask& m = shared.get(slot, make);
  paint_white_with_shadow(c, m, shared.get(shadow_slot, [&m] { return blurred(m, 1); }), dx);
}

// Category and page buttons sit on the window's blue along the top: a tile that lights
// up under the mouse, with the emblem above the label.
void paint_tile(Canvas& c, ButtonArt art, const LookStyle& s, SharedMasks& shared) {
  const int w = c.width(), h = c.height();
  const float unit = std::min(w / 78.0f, h / 72.0f);
  c.fill_rect(kWindowBlue);
  // The top rows may hide under the window's edge, so the tile starts a little lower.
  const float top = std::max(2.0f, h * 0.06f), r = 7 * unit;
  Shape tile = round_rect(2, top, w - 2.0f, h - 2.0f, r);
  if (s.look != Look::kNormal) {
    Rgb hi = s.look == Look::kHover ? lighter(kWindowBlue, 0.35f) : darker(kWindowBlue, 0.30f);
    Rgb lo = s.look == Look::kHover ? lighter(kWindowBlue, 0.05f) : darker(kWindowBlue, 0.12f);
    const Mask& m = shared.get(SharedMasks::kFace, [&] { return shape_mask(w, h, tile); });
    if (s.look == Look::kHover) c.paint(blurred(m, 2), kWhite, 0.35f);
    c.paint_gradient(m, hi, lo, top, h - 2.0f);
    c.fill(ring(tile, 0.6f), s.look == Look::kHover ? kWhite : darker(kWindowBlue, 0.45f),
           s.look == Look::kHover ? 0.9f : 0.6f);
    if (s.look == Look::kPressed) {
      // An inner shadow along the top edge makes the tile look pushed in.
      c.fill(intersect(tile, ring(round_rect(2, top + 1.5f, w - 2.0f, h, r), 1.2f)), kInk, 0.25f);
    }
  } else {
    const Mask& m = shared.get(SharedMasks::kFace, [&] { return shape_mask(w, h, tile); });
    c.paint_gradient(m, lighter(kWindowBlue, 0.12f), kWindowBlue, top, h - 2.0f, 0.8f);
    c.fill(ring(tile, 0.5f), kWhite, 0.22f);
  }
  const float emblem = 30 * unit;
  paint_cutout(
      c, shared, SharedMasks::kGlyph, SharedMasks::kGlyphShadow,
      [&] {
        return shape_mask(w, h, button_emblem(art, w / 2.0f, top + 3 * unit + emblem / 2, emblem));
      },
      s.dx());
  TextStyle text{std::max(9, static_cast<int>(13 * unit + 0.5f)), FW_BOLD, false};
  paint_cutout(
      c, shared, SharedMasks::kLabel, SharedMasks::kLabelShadow,
      [&] {
        return text_mask(w, h, label_of(art), box(0, h - 24 * unit, float(w), h - 5 * unit), text);
      },
      s.dx());
}

// Buttons on the white pages: a rounded blue face with a glassy upper half.
void paint_face_button(Canvas& c, ButtonArt art, const LookStyle& s, SharedMasks& shared, Rgb base,
                       int text_px, bool with_magnifier) {
  const int w = c.width(), h = c.height();
  c.fill_rect(kWhite);
  const float r = std::min(h / 2.0f - 1, 5.0f + h / 12.0f);
  Shape face = round_rect(0.5f, 0.5f, w - 0.5f, h - 0.5f, r);
  Rgb top = s.face(lighter(base, 0.25f)), bottom = s.face(darker(base, 0.12f));
  if (s.look == Look::kPressed) std::swap(top, bottom);
  c.paint_gradient(shared.get(SharedMasks::kFace, [&] { return shape_mask(w, h, face); }), top,
                   bottom, 0, float(h));
  // Glassy highlight over the upper half.
  Shape gloss = intersect(round_rect(1.5f, 1.5f, w - 1.5f, h - 1.5f, r - 1),
                          [h](float, float y) { return y - h * 0.48f; });
  c.fill(gloss, kWhite, s.look == Look::kPressed ? 0.08f : 0.22f);
  c.fill(ring(face, 0.55f), darker(base, 0.40f), 0.9f);
  if (s.look == Look::kHover)
    c.fill(ring(round_rect(1.5f, 1.5f, w - 1.5f, h - 1.5f, r - 1), 0.5f), kWhite, 0.7f);
  float text_left = 0;
  if (with_magnifier) {
    float size = h * 0.62f;
    paint_cutout(
        c, shared, SharedMasks::kGlyph, SharedMasks::kGlyphShadow,
        [&] {
          return shape_mask(w, h, button_emblem(ButtonArt::kSearch, h * 0.62f, h / 2.0f, size));
        },
        s.dx());
    text_left = h * 0.85f;
  }
  TextStyle text{text_px, FW_BOLD, false};
  paint_cutout(
      c, shared, SharedMasks::kLabel, SharedMasks::kLabelShadow,
      [&] { return text_mask(w, h, label_of(art), box(text_left, 0, float(w), float(h)), text); },
      s.dx());
}

void paint_drop_arrow(Canvas& c, const LookStyle& s) {
  const int w = c.width(), h = c.height();
  c.fill_rect(kWhite);
  Shape face = round_rect(0.5f, 0.5f, w - 0.5f, h - 0.5f, 2.5f);
  Rgb top = s.face(lighter(kWindowBlue, 0.2f)), bottom = s.face(darker(kWindowBlue, 0.1f));
  c.paint_gradient(shape_mask(w, h, face), top, bottom, 0, float(h));
  c.fill(ring(face, 0.5f), darker(kWindowBlue, 0.4f));
  float cx = w / 2.0f + s.ox, cy = h / 2.0f + s.oy, a = std::min(w, h) * 0.28f;
  c.fill(polygon({cx - a, cy - a * 0.45f, cx + a, cy - a * 0.45f, cx, cy + a * 0.65f}), kWhite);
}

// The caption-like buttons sit on the window's blue; the close button turns vermilion.
void paint_caption_button(Canvas& c, ButtonArt art, const LookStyle& s) {
  const int w = c.width(), h = c.height();
  c.fill_rect(kWindowBlue);
  Shape face = round_rect(0.5f, 0.5f, w - 0.5f, h - 0.5f, 3);
  if (art == ButtonArt::kClose && s.look != Look::kNormal) {
    Rgb red = s.look == Look::kHover ? kVermilion : darker(kVermilion, 0.25f);
    c.paint_gradient(shape_mask(w, h, face), lighter(red, 0.15f), red, 0, float(h));
  } else if (s.look == Look::kHover) {
    c.fill(face, kWhite, 0.28f);
  } else if (s.look == Look::kPressed) {
    c.fill(face, kInkShadow, 0.35f);
  }
  const float cx = w / 2.0f + s.ox, cy = h / 2.0f + s.oy, a = std::min(w, h) * 0.22f;
  float pen = std::max(0.8f, std::min(w, h) / 16.0f);
  Shape glyph;
  if (art == ButtonArt::kClose) {
    glyph = unite(segment(cx - a, cy - a, cx + a, cy + a, pen),
                  segment(cx - a, cy + a, cx + a, cy - a, pen));
  } else if (art == ButtonArt::kMinimise) {
    glyph = segment(cx - a, cy + a * 0.5f, cx + a, cy + a * 0.5f, pen);
  } else {
    pen *= 0.7f;  // three thin lines, apart enough to read as a menu
    const float r = a * 1.1f, step = a * 0.9f;
    glyph = segment(cx - r, cy - step, cx + r, cy - step, pen);
    glyph = unite(glyph, segment(cx - r, cy, cx + r, cy, pen));
    glyph = unite(glyph, segment(cx - r, cy + step, cx + r, cy + step, pen));
  }
  Mask m = shape_mask(w, h, glyph);
  c.paint(blurred(m, 1), kInkShadow, 0.4f, 0, 1);
  c.paint(m, kWhite);
}

// The small icons picture: a speech bubble with three dots.
Shape small_bubble(int w, int h, float ox, float oy) {
  const float k = std::min(w, h) / 32.0f;
  return unite(round_rect(1.5f * k + ox, 2 * k + oy, w - 1.5f * k + ox, h * 0.74f + oy, 7 * k),
               polygon({8 * k + ox, h * 0.70f + oy, 6 * k + ox, h - 1.5f * k + oy, 15 * k + ox,
                        h * 0.70f + oy}));
}

// The contact picture 图形按钮9 stands at the window's lower right corner, where the label
// "QQ客服" reaches under its left quarter and the result list's down arrow under its top
// rows. Its bubble keeps to the rest: right of the label's text and below the arrow, with
// the tail under the bubble's left part, and the button's outline is the bubble, so what
// lies beside it shows through.
struct Area {
  float left, top, right, bottom;
};
Area contact_bubble_area(int w, int h) {
  return Area{w * 0.31f, h * 0.41f, w - 0.5f, h * 0.84f};
}
Shape contact_bubble(int w, int h, float ox, float oy) {
  const Area b = contact_bubble_area(w, h);
  const float k = std::min(w, h) / 32.0f;
  return unite(round_rect(b.left + ox, b.top + oy, b.right + ox, b.bottom + oy, 5 * k),
               polygon({b.left + 4 * k + ox, b.bottom - 1 + oy, b.left + 3 * k + ox, h - 0.5f + oy,
                        b.left + 10 * k + ox, b.bottom - 1 + oy}));
}

// A speech bubble; the contact picture carries "客服", the small icons three dots.
void paint_bubble(Canvas& c, ButtonArt art, const LookStyle& s) {
  const int w = c.width(), h = c.height();
  c.fill_rect(kWhite);
  const float k = std::min(w, h) / 32.0f, ox = s.ox, oy = s.oy;
  const bool contact = art == ButtonArt::kContact;
  Shape bubble = contact ? contact_bubble(w, h, ox, oy) : small_bubble(w, h, ox, oy);
  Mask m = shape_mask(w, h, bubble);
  if (s.look == Look::kHover) c.paint(blurred(m, 1), kWindowBlue, 0.5f);
  Rgb base = contact ? kWindowBlue : kDeepBlue;
  c.paint_gradient(m, s.face(lighter(base, 0.2f)), s.face(darker(base, 0.15f)), 0, float(h));
  c.fill(ring(bubble, 0.5f), s.face(darker(base, 0.35f)), 0.8f);
  if (contact && w >= 24) {
    const Area b = contact_bubble_area(w, h);
    TextStyle text{std::max(8, static_cast<int>(10 * k + 0.5f)), FW_BOLD, false};
    Mask label = text_mask(w, h, label_of(art),
                           box(b.left + ox, b.top + oy, b.right + ox, b.bottom + oy), text);
    c.paint(label, kWhite);
  } else {
    float cy = (2 * k + h * 0.74f) / 2 + oy, r = std::max(1.0f, 2.2f * k);
    for (int i = -1; i <= 1; ++i) c.fill(circle(w / 2.0f + i * 7.5f * k + ox, cy, r), kWhite);
  }
}

// The contact picture's outline: its bubble (in the normal look; the pressed look's bubble
// moves one pixel inside it, the hover glow is cut at it).
HRGN outline_of(ButtonArt art, int width, int height) {
  if (art != ButtonArt::kContact) return nullptr;
  Mask m = shape_mask(width, height, contact_bubble(width, height, 0, 0));
  // One pixel more on each side, so the pressed look's shift stays inside.
  return region_of(blurred(m, 1));
}

void paint_button(Canvas& c, ButtonArt art, Look look, SharedMasks& shared) {
  LookStyle s(look);
  const int h = c.height();
  switch (art) {
    case ButtonArt::kSearch:
      return paint_face_button(c, art, s, shared, kDeepBlue, std::max(9, h * 2 / 5), true);
    case ButtonArt::kUpdate:
    case ButtonArt::kAdd:
    case ButtonArt::kChoose:
    case ButtonArt::kConfirm:
      return paint_face_button(c, art, s, shared, kWindowBlue, std::max(9, h / 2), false);
    case ButtonArt::kCancel:
      return paint_face_button(c, art, s, shared, kSlate, std::max(9, h / 2), false);
    case ButtonArt::kDropArrow:
      return paint_drop_arrow(c, s);
    case ButtonArt::kClose:
    case ButtonArt::kMinimise:
    case ButtonArt::kMenu:
      return paint_caption_button(c, art, s);
    case ButtonArt::kContact:
    case ButtonArt::kSmallIcons:
      return paint_bubble(c, art, s);
    default:
      return paint_tile(c, art, s, shared);
  }
}

HBITMAP draw_look(ButtonArt art, int width, int height, Look look, SharedMasks& shared) {
  Canvas c(width, height);
  if (!c.ok()) return nullptr;
  paint_button(c, art, look, shared);
  return c.release();
}

}  // namespace

ButtonLooks draw_button_art(ButtonArt art, int width, int height) {
  SharedMasks shared;
  ButtonLooks looks{draw_look(art, width, height, Look::kNormal, shared),
                    draw_look(art, width, height, Look::kHover, shared),
                    draw_look(art, width, height, Look::kPressed, shared), nullptr};
  if (looks.normal == nullptr || looks.hover == nullptr || looks.pressed == nullptr) {
    for (HBITMAP b : {looks.normal, looks.hover, looks.pressed}) {
      if (b != nullptr) DeleteObject(b);
    }
    return ButtonLooks{nullptr, nullptr, nullptr, nullptr};
  }
  looks.outline = outline_of(art, width, height);
  return looks;
}
