#ifndef MOYAN_APP_LAYOUT_H_
#define MOYAN_APP_LAYOUT_H_

#include <span>

#include "ui/controls.h"

enum class ControlKind {
  kImageButton,  // three pictures (normal, mouse over, pressed); raises clicked
  kTransparentLabel,
  kLabel,
  kEdit,
  kCheckBox,
  kComboBox,  // drop-down list, at least 160 pixels high
  kListView,  // the result list
  kGroupBox,
  kPictureBox,
  kPushButton,
  kPageContainer,
  kFileDialog,  // no window of its own
};

enum class FontKind {
  kDefault,     // the system's default GUI font
  kSongBold14,  // 宋体, bold, 14 pixels
  // 宋体, GB2312, normal weight. 165 pixels filled the reserved area when it was 800 pixels
  // wide; inside the window the area is 272 wide, so the text shrinks with it.
  kSongReservedArea,
};

struct ControlRect {
  int left, top, width, height;
};

// One row of MainWindow's layout. Places are relative to the client area of the
// container: MainWindow, a page of 选择夹1 (container 选择夹1 with a page number) or a
// group box.
struct ControlSpec {
  Control name;
  ControlKind kind;
  Control container;
  int page;  // page of 选择夹1 when container is 选择夹1, else -1
  ControlRect rect;
  const char* text;  // initial text or caption, GBK; nullptr when none
  FontKind font;
};

// MainWindow's outer size and title.
constexpr int kMainWindowWidth = 645;
constexpr int kMainWindowHeight = 541;
extern const char kMainWindowTitle[];

// Every control in creation order; a later row lies above an earlier one where they overlap.
std::span<const ControlSpec> main_window_layout();
const ControlSpec& control_spec(Control name);

// The client area the layout is drawn for: the outer size less a 3-pixel fixed frame and a
// 23-pixel caption.
constexpr int kLayoutClientWidth = 639;
constexpr int kLayoutClientHeight = 512;

// A control's place in a client area of the given size, for borders of other widths than
// the layout's: 选择夹1 ends at the client area's edges, and the buttons along the right edge
// move in as far as it is narrower, each pair as one (the menu and close buttons side by
// side, the two page buttons one above the other). Every other control keeps its place.
ControlRect fitted_rect(const ControlSpec& spec, int client_width, int client_height);

// The result list's columns: title and width.
struct ListColumn {
  const char* title;
  int width;
};
std::span<const ListColumn> result_list_columns();

// Items of the two combo boxes, in order.
std::span<const char* const> rating_items();    // 组合框1
std::span<const char* const> category_items();  // 组合框2

// The hidden menus: level 0 is the menu itself, level 1 its items, level 2 sub-items.
struct MenuItemSpec {
  int level;
  const char* caption;
  MenuCommand command;
};
std::span<const MenuItemSpec> menu_items(PopupMenu menu);
// The caption of a menu item, for handlers that take it as their argument.
const char* menu_caption(MenuCommand command);

#endif  // MOYAN_APP_LAYOUT_H_
