#ifndef MOYAN_TESTS_APP_ICON_PIXELS_H_
#define MOYAN_TESTS_APP_ICON_PIXELS_H_

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Pixels as 0xAARRGGBB, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;

  bool empty() const { return argb.empty(); }
  uint32_t at(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

// A file beside the running test program.
std::wstring beside_this_program(const std::wstring& name);

// The size x size image of an .ico file whose entries are 32-bit bitmaps with alpha (as
// tools/art/make_icon.py writes them); empty when the file has none of that size.
Pixels ico_image(const std::wstring& path, int size);

// What the screen shows in a rectangle of screen coordinates.
Pixels screen_pixels(const RECT& area);
// What a window has drawn in its client area, whether or not the screen shows it yet.
Pixels client_pixels(HWND window);

// An icon handle drawn at size x size over a plain background colour.
Pixels drawn_icon(HICON icon, int size, COLORREF background);

// An image with alpha blended over a plain background colour, as DrawIconEx draws it.
Pixels over_background(const Pixels& image, COLORREF background);

// Whether every fully opaque pixel of `image` appears in `screen` at one place, each
// channel within `tolerance`; `at` gets the place. Pixels the image only partly covers
// are left out, as they mix with whatever lies behind.
bool find_opaque_part(const Pixels& screen, const Pixels& image, int tolerance, POINT* at);

// The largest difference of one channel between two images of the same size.
int largest_difference(const Pixels& a, const Pixels& b);

#endif  // MOYAN_TESTS_APP_ICON_PIXELS_H_
