// The program's own pictures: button looks, link banners, logo, blue tile and the
// multi-size program icon. Everything except the icon is drawn at run time with GDI
// into 32-bit DIB sections, at whatever size the caller asks for.
#ifndef MOYAN_APP_ART_ARTWORK_H_
#define MOYAN_APP_ART_ARTWORK_H_

#include <windows.h>

#include <vector>

enum class ButtonArt {
  // Category buttons, 78 x 72: an emblem above the label.
  kSystemTools,  // 系统工具
  kNetwork,      // 网络相关
  kModules,      // 模块控件
  kIndustry,     // 行业控件
  kGames,        // 游戏娱乐
  kMultimedia,   // 多媒体类
  kDatabase,     // 数据库类
  kGraphics,     // 图形图像
  // Page buttons, 78 x 72.
  kSourceManagement,  // 源码管理
  kSourceSearch,      // 源码搜索
  kSearch,            // the search button 源码搜索, 109 x 35
  // Command buttons, 80 x 24.
  kUpdate,      // 更新数据
  kAdd,         // 添加源码
  kChoose,      // 选择源码
  kConfirm,     // 确定修改
  kCancel,      // 取消修改
  kDropArrow,   // 16 x 23
  kClose,       // 41 x 22
  kMinimise,    // 28 x 22
  kMenu,        // 28 x 22
  kContact,     // 32 x 32, a "客服" chat bubble in the lower right, shaped (see below)
  kSmallIcons,  // 16 x 16
};

// The three pictures of an image button and its outline; the caller owns (and deletes)
// all four.
struct ButtonLooks {
  HBITMAP normal;
  HBITMAP hover;    // lighter, with a glow
  HBITMAP pressed;  // darker, the content moved one pixel down and right
  // The part of the rectangle the picture stands on; null when it fills the rectangle.
  HRGN outline = nullptr;
};

// Failure (a side below 1 or above 2048 pixels, or out of GDI memory) gives null bitmaps.
ButtonLooks draw_button_art(ButtonArt art, int width, int height);

enum class BannerArt { kCommunity, kVendor, kSourceSite, kContact };

// The frames of an animated link banner (88 x 31 in the window): a shine crosses it, then
// it rests. Shown in order, about 120 ms apart, and repeated; the caller owns the
// bitmaps. Empty on failure.
std::vector<HBITMAP> draw_banner_frames(BannerArt art, int width, int height);

// The program's name with an ink-stone emblem (180 x 60 in the window).
HBITMAP draw_logo(int width, int height);

// A small bitmap in shades of blue (16 x 14 in the window).
HBITMAP draw_blue_tile(int width, int height);

// The multi-size program icon carried as a resource, at size x size pixels (16, 24, 32,
// 48, 64, 72, 96, 128 or 256 are carried; other sizes are scaled from the nearest).
// The caller destroys it with DestroyIcon. Null on failure.
HICON load_program_icon(int size);

#endif  // MOYAN_APP_ART_ARTWORK_H_
