#ifndef MOYAN_APP_WINDOW_CONTROLS_H_
#define MOYAN_APP_WINDOW_CONTROLS_H_

#include <windows.h>

#include <array>

#include "ui/controls.h"
#include "win32/owned_handle.h"

// MainWindow's controls as built from the layout, and the fonts they are drawn with.
struct WindowControls {
  std::array<HWND, kControlCount> controls{};
  std::array<HWND, kPageCount> pages{};  // the pages of 选择夹1
  win32::Font bold_font;                 // 按钮1's caption
  win32::Font reserved_area_font;        // 透明标签9's large caption

  HWND operator[](Control name) const { return controls[static_cast<int>(name)]; }
};

// Creates every control of the layout in `window`, page `first_page` of 选择夹1 showing.
// False when one could not be created.
bool build_controls(HWND window, int first_page, WindowControls& built);

#endif  // MOYAN_APP_WINDOW_CONTROLS_H_
