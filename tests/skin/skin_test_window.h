#ifndef MOYAN_TESTS_SKIN_SKIN_TEST_WINDOW_H_
#define MOYAN_TESTS_SKIN_SKIN_TEST_WINDOW_H_

#include <windows.h>

#include <string>

#include "skin/skin_data.h"

// The skin library under test (SkinH_EL.dll beside the test program) and windows with one
// control of each kind it restyles, for reading what the screen shows.

using AttachSkin = int(WINAPI*)(const void* data, int length, const char* text, int, int, int);

// What the entry point returns.
constexpr int kAttached = 1;
constexpr int kNothingToAttach = 0;
constexpr int kBadArguments = -1;
constexpr int kRefused = -2;

// The library's entry point, loaded once; null when it can't be had.
AttachSkin skin_library();
int attach(const std::string& block);

// A skin whose every colour is its own, so a pixel tells which part painted it; its check
// and group texts are dark.
SkinData distinct_skin(int seed);
COLORREF colour_of(const SkinData& skin, SkinColour role);

// A captioned top-level window holding one control of each kind, plus two that draw
// themselves (a picture of the program's own class and an owner-drawn button; the window
// also draws the owner-drawn items of its menus in kOwnerDrawnColour), and a dark
// panel of the program's own class holding an edit box and a check box of its own.
struct TestWindow {
  HWND frame = nullptr;
  HWND edit = nullptr, push = nullptr, check = nullptr, group = nullptr, combo = nullptr,
       list = nullptr, own_picture = nullptr, owner_drawn = nullptr, dark_panel = nullptr,
       edit_on_dark = nullptr, check_on_dark = nullptr;
};
TestWindow create_test_window(int left, int top, const wchar_t* title);
// A modeless dialog box with one text.
HWND create_test_dialog(int left, int top);

// The colour the screen shows at a point of a window (0, 0 = the window's top-left corner,
// frame included).
COLORREF pixel_of(HWND window, int x, int y);
// How many pixels of a window's rectangle (window coordinates) show `colour`.
int pixels_of_colour(HWND window, const RECT& area, COLORREF colour);

// The window's frame thickness and the caption's rows, in window coordinates.
struct CaptionRows {
  int border, top, bottom;  // [top, bottom)
};
CaptionRows caption_rows(HWND window);

// Whether the library has taken a window under the skin.
bool taken_by_skin(HWND window);

std::string describe(COLORREF colour);

// The colour the test windows and dialog paint what the skin leaves to them.
constexpr COLORREF kOwnPictureColour = RGB(1, 2, 3);
constexpr COLORREF kOwnerDrawnColour = RGB(4, 5, 6);
constexpr COLORREF kDarkPanelColour = RGB(0, 0, 64);

#endif  // MOYAN_TESTS_SKIN_SKIN_TEST_WINDOW_H_
