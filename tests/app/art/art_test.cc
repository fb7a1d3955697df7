#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
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

// FNV-1a over the pictures' colours: how a set of pictures looks, in one number.
uint64_t digest_of(const std::vector<HBITMAP>& bitmaps) {
  uint64_t h = 14695981039346656037ull;
  for (HBITMAP b : bitmaps) {
    const Pixels p = read_pixels(b);
    for (uint32_t v : {uint32_t(p.width), uint32_t(p.height)}) h = (h ^ v) * 1099511628211ull;
    for (uint32_t c : p.bgra) h = (h ^ (c & 0xFFFFFF)) * 1099511628211ull;
    DeleteObject(b);
  }
  return h;
}

// Every picture as it was approved by eye on the contact sheet (tools/art): a pixel that
// changes is a change of the artwork, to be looked at and approved anew. Drawing the same
// picture a quicker way must leave each pixel as it was.
TEST(ArtworkTest, EveryPictureIsDrawnAsApproved) {
  struct Approved {
    const char* name;
    uint64_t digest;
  };
  const Approved approved[] = {
      {"系统工具", 0x34e5e2a5d2d4beafull},
      {"网络相关", 0x863064589a4dbbd7ull},
      {"模块控件", 0xcd7c7ad9ec8473c5ull},
      {"行业控件", 0xdadf15fdd549796dull},
      {"游戏娱乐", 0x5c6bfa6e0b9b53b0ull},
      {"多媒体类", 0xa2fb6faf0e9d24dull},
      {"数据库类", 0xf0e04202e2892bfull},
      {"图形图像", 0x9fc63e09e63104c1ull},
      {"源码管理", 0x3ca7780affa54b22ull},
      {"源码搜索 page", 0x18305d962c5c2119ull},
      {"源码搜索 search", 0x82e52a316c4c03f1ull},
      {"更新数据", 0xf0f48b10685912bfull},
      {"添加源码", 0x4e9b3f8a73df4e0ull},
      {"选择源码", 0x35fcd30cb17b61f9ull},
      {"确定修改", 0x7424d37c48355a26ull},
      {"取消修改", 0xf5895041faa9f714ull},
      {"drop arrow", 0xf25d913fa8bd5cull},
      {"close", 0xb440291d1ccc73fcull},
      {"minimise", 0x33c982918aa78c7ull},
      {"menu", 0x67f95963fc614dffull},
      {"contact", 0xde20e2f60e2fe0dull},
      {"small icons", 0x14619457ee0ef70ull},
      {"category enlarged", 0x160488e883e7ee9bull},
      {"command stretched", 0x9e99d57d5452c1feull},
      {"close tiny", 0xe93a82cc0aae7044ull},
      {"community banner", 0x4258ab748a53794cull},
      {"vendor banner", 0x349ec6150901086cull},
      {"source site banner", 0x4a3756c825ab7474ull},
      {"contact banner", 0x417607fd13d35411ull},
      {"logo", 0x65db91841b0ff85ull},
      {"blue tile", 0x9af2d6e7fd722792ull},
  };
  std::vector<std::pair<std::string, std::vector<HBITMAP>>> drawn;
  for (const ButtonCase& c : kButtons) {
    ButtonLooks looks = draw_button_art(c.art, c.width, c.height);
    if (looks.outline != nullptr) DeleteObject(looks.outline);
    drawn.push_back({c.name, {looks.normal, looks.hover, looks.pressed}});
  }
  const struct {
    const char* name;
    BannerArt art;
  } banners[] = {{"community banner", BannerArt::kCommunity},
                 {"vendor banner", BannerArt::kVendor},
                 {"source site banner", BannerArt::kSourceSite},
                 {"contact banner", BannerArt::kContact}};
  for (const auto& b : banners) drawn.push_back({b.name, draw_banner_frames(b.art, 88, 31)});
  drawn.push_back({"logo", {draw_logo(180, 60)}});
  drawn.push_back({"blue tile", {draw_blue_tile(16, 14)}});
  ASSERT_EQ(drawn.size(), std::size(approved));
  for (size_t i = 0; i < drawn.size(); ++i) {
    const uint64_t digest = digest_of(drawn[i].second);
    EXPECT_EQ(drawn[i].first, approved[i].name);
    EXPECT_EQ(digest, approved[i].digest)
        << drawn[i].first << " is drawn otherwise than approved; if the change is meant, "
        << "look at the contact sheet and approve 0x" << std::hex << digest;
  }
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
