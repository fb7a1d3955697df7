#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "app/art/art_resources.h"
#include "app/art/artwork.h"

namespace {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> bgra;
};

// The bitmap's pixels as 32-bit values, top row first.
Pixels read_pixels(HBITMAP bitmap) {
  Pixels p;
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) return p;
  p.width = info.bmWidth;
  p.height = info.bmHeight;
  p.bgra.resize(static_cast<size_t>(p.width) * p.height);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = p.width;
  bi.bmiHeader.biHeight = -p.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  int rows = GetDIBits(dc, bitmap, 0, p.height, p.bgra.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows != p.height) p.bgra.clear();
  return p;
}

size_t distinct_colours(const Pixels& p) {
  std::set<uint32_t> colours;
  for (uint32_t c : p.bgra) colours.insert(c & 0xFFFFFF);
  return colours.size();
}

struct ButtonCase {
  const char* name;
  ButtonArt art;
  int width, height;
};

const ButtonCase kButtons[] = {
    {"系统工具", ButtonArt::kSystemTools, 78, 72},
    {"网络相关", ButtonArt::kNetwork, 78, 72},
    {"模块控件", ButtonArt::kModules, 78, 72},
    {"行业控件", ButtonArt::kIndustry, 78, 72},
    {"游戏娱乐", ButtonArt::kGames, 78, 72},
    {"多媒体类", ButtonArt::kMultimedia, 78, 72},
    {"数据库类", ButtonArt::kDatabase, 78, 72},
    {"图形图像", ButtonArt::kGraphics, 78, 72},
    {"源码管理", ButtonArt::kSourceManagement, 78, 72},
    {"源码搜索 page", ButtonArt::kSourceSearch, 78, 72},
    {"源码搜索 search", ButtonArt::kSearch, 109, 35},
    {"更新数据", ButtonArt::kUpdate, 80, 24},
    {"添加源码", ButtonArt::kAdd, 80, 24},
    {"选择源码", ButtonArt::kChoose, 80, 24},
    {"确定修改", ButtonArt::kConfirm, 80, 24},
    {"取消修改", ButtonArt::kCancel, 80, 24},
    {"drop arrow", ButtonArt::kDropArrow, 16, 23},
    {"close", ButtonArt::kClose, 41, 22},
    {"minimise", ButtonArt::kMinimise, 28, 22},
    {"menu", ButtonArt::kMenu, 28, 22},
    {"contact", ButtonArt::kContact, 32, 32},
    {"small icons", ButtonArt::kSmallIcons, 16, 16},
    // Other sizes than the window's are drawn as asked.
    {"category enlarged", ButtonArt::kGames, 156, 144},
    {"command stretched", ButtonArt::kConfirm, 120, 30},
    {"close tiny", ButtonArt::kClose, 3, 2},
};

TEST(ButtonArtTest, EveryButtonHasThreeDistinctLooksOfTheAskedSize) {
  for (const ButtonCase& c : kButtons) {
    SCOPED_TRACE(c.name);
    ButtonLooks looks = draw_button_art(c.art, c.width, c.height);
    Pixels normal = read_pixels(looks.normal);
    Pixels hover = read_pixels(looks.hover);
    Pixels pressed = read_pixels(looks.pressed);
    for (const Pixels* p : {&normal, &hover, &pressed}) {
      EXPECT_EQ(p->width, c.width);
      EXPECT_EQ(p->height, c.height);
      ASSERT_FALSE(p->bgra.empty());
      // A picture, not a plain fill.
      EXPECT_GE(distinct_colours(*p), c.width * c.height >= 64 ? 8u : 2u);
    }
    EXPECT_NE(normal.bgra, hover.bgra);
    EXPECT_NE(normal.bgra, pressed.bgra);
    EXPECT_NE(hover.bgra, pressed.bgra);
    for (HBITMAP b : {looks.normal, looks.hover, looks.pressed}) DeleteObject(b);
  }
}

TEST(ButtonArtTest, CategoryLabelsAreDrawn) {
  // The label area of two categories differs, so their texts really were drawn.
  ButtonLooks a = draw_button_art(ButtonArt::kSystemTools, 78, 72);
  ButtonLooks b = draw_button_art(ButtonArt::kNetwork, 78, 72);
  Pixels pa = read_pixels(a.normal), pb = read_pixels(b.normal);
  ASSERT_EQ(pa.bgra.size(), pb.bgra.size());
  size_t differing = 0;
  for (size_t i = 55 * 78; i < 68 * 78; ++i) differing += pa.bgra[i] != pb.bgra[i];
  EXPECT_GT(differing, 40u);
  for (HBITMAP h : {a.normal, a.hover, a.pressed, b.normal, b.hover, b.pressed}) DeleteObject(h);
}

TEST(ButtonArtTest, ImpossibleSizesGiveNoBitmaps) {
  const int sizes[][2] = {{0, 24}, {80, 0}, {-1, 24}, {80, -24}, {100000, 24}};
  for (const auto& s : sizes) {
    ButtonLooks looks = draw_button_art(ButtonArt::kAdd, s[0], s[1]);
    EXPECT_EQ(looks.normal, nullptr);
    EXPECT_EQ(looks.hover, nullptr);
    EXPECT_EQ(looks.pressed, nullptr);
  }
  EXPECT_TRUE(draw_banner_frames(BannerArt::kVendor, 0, 31).empty());
  EXPECT_EQ(draw_logo(-180, 60), nullptr);
  EXPECT_EQ(draw_blue_tile(16, 0), nullptr);
}

TEST(BannerArtTest, EveryBannerIsAnimatedAtTheAskedSize) {
  for (BannerArt art :
       {BannerArt::kCommunity, BannerArt::kVendor, BannerArt::kSourceSite, BannerArt::kContact}) {
    SCOPED_TRACE(static_cast<int>(art));
    std::vector<HBITMAP> frames = draw_banner_frames(art, 88, 31);
    ASSERT_GE(frames.size(), 2u);
    std::set<std::vector<uint32_t>> distinct;
    for (HBITMAP f : frames) {
      Pixels p = read_pixels(f);
      EXPECT_EQ(p.width, 88);
      EXPECT_EQ(p.height, 31);
      EXPECT_GE(distinct_colours(p), 16u);
      distinct.insert(p.bgra);
      DeleteObject(f);
    }
    EXPECT_GE(distinct.size(), 2u);
  }
}

TEST(BannerArtTest, BannersDifferFromEachOther) {
  std::set<std::vector<uint32_t>> first_frames;
  for (BannerArt art :
       {BannerArt::kCommunity, BannerArt::kVendor, BannerArt::kSourceSite, BannerArt::kContact}) {
    std::vector<HBITMAP> frames = draw_banner_frames(art, 88, 31);
    ASSERT_FALSE(frames.empty());
    first_frames.insert(read_pixels(frames[0]).bgra);
    for (HBITMAP f : frames) DeleteObject(f);
  }
  EXPECT_EQ(first_frames.size(), 4u);
}

TEST(LogoArtTest, LogoAndTileHaveTheAskedSizeAndContent) {
  const struct {
    HBITMAP bitmap;
    int width, height;
    size_t min_colours;
  } cases[] = {
      {draw_logo(180, 60), 180, 60, 64},
      {draw_logo(90, 30), 90, 30, 32},
      {draw_blue_tile(16, 14), 16, 14, 4},
  };
  for (const auto& c : cases) {
    Pixels p = read_pixels(c.bitmap);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_GE(distinct_colours(p), c.min_colours);
    DeleteObject(c.bitmap);
  }
}

TEST(LogoArtTest, BlueTileIsBlue) {
  HBITMAP tile = draw_blue_tile(16, 14);
  Pixels p = read_pixels(tile);
  ASSERT_FALSE(p.bgra.empty());
  for (uint32_t c : p.bgra) {
    int b = c & 0xFF, g = (c >> 8) & 0xFF, r = (c >> 16) & 0xFF;
    EXPECT_GE(b, r);
    EXPECT_GE(b, g);
  }
  DeleteObject(tile);
}

// The icon group as stored in the program: one 32-bit image per carried size.
#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

TEST(ProgramIconTest, CarriesEveryAskedSizeAt32Bits) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(MOYAN_PROGRAM_ICON), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(bytes, nullptr);
  const auto* header = reinterpret_cast<const GroupIconHeader*>(bytes);
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(bytes + sizeof(GroupIconHeader));
  std::set<int> sizes;
  for (int i = 0; i < header->count; ++i) {
    EXPECT_EQ(entries[i].bit_count, 32);
    sizes.insert(entries[i].width == 0 ? 256 : entries[i].width);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 72, 96, 128, 256}));
}

TEST(ProgramIconTest, LoadsAtEverySizeWithAlpha) {
  for (int size : {16, 24, 32, 48, 64, 72, 96, 128, 256}) {
    SCOPED_TRACE(size);
    HICON icon = load_program_icon(size);
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    Pixels colour = read_pixels(info.hbmColor);
    EXPECT_EQ(colour.width, size);
    EXPECT_EQ(colour.height, size);
    // Transparent corners and an opaque middle: the alpha channel came through.
    ASSERT_FALSE(colour.bgra.empty());
    EXPECT_EQ(colour.bgra[0] >> 24, 0u);
    EXPECT_EQ(colour.bgra[colour.bgra.size() / 2 + size / 2] >> 24, 255u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_EQ(load_program_icon(0), nullptr);
}

}  // namespace
