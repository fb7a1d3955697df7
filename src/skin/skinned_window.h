#ifndef MOYAN_SKIN_SKINNED_WINDOW_H_
#define MOYAN_SKIN_SKINNED_WINDOW_H_

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/attached_skin.h"

// What the skin does with a window depends on its kind, known from its class.
enum class SkinnedKind {
  kPlain,     // any other window: its frame when it has a caption, its children's colours
  kDialog,    // dialog boxes and message boxes: also their background and texts
  kButton,    // push buttons, check boxes, radio buttons, group boxes (by style)
  kEdit,      // edit boxes: a flat border
  kComboBox,  // drop-down lists: the closed field
  kListView,  // a flat border; its rows are chosen in the skin's colours
  kHeader,    // list headers
  kMenu,      // pop-up menu windows: their edge (the items are drawn for their owner)
};

// An item of a pop-up menu that the skin draws while the menu is shown: it is made
// owner-drawn for that time, with this record as its item data, and given back as it was
// when the menu closes.
struct SkinnedMenuItem {
  HMENU menu;
  UINT position;
  UINT type;       // its own type (a text or a separator)
  ULONG_PTR data;  // its own item data
  std::wstring text;
  bool opens_submenu;
};
// A pop-up menu shown in the skin's colours, with its own background to give back.
struct SkinnedMenu {
  HMENU menu;
  HBRUSH background;
  std::vector<std::unique_ptr<SkinnedMenuItem>> items;
};

// Per window: what the skin keeps between messages.
struct SkinnedWindow {
  SkinnedKind kind = SkinnedKind::kPlain;
  bool active = false;      // the caption shows as active
  bool hot = false;         // the mouse is over the control
  bool tracking = false;    // the end of hovering is being watched
  int caption_hot = 0;      // hit code of the caption button under the mouse, or 0
  int caption_pressed = 0;  // hit code of the caption button held down, or 0
  // Where the caption's buttons are, found for this window size and style.
  struct CaptionButton {
    RECT place;  // in window coordinates
    int code;    // HTCLOSE, HTMAXBUTTON, HTMINBUTTON or HTHELP
  };
  CaptionButton caption_buttons[4] = {};
  int caption_button_count = 0;
  SIZE buttons_found_for = {-1, -1};
  LONG style_found_for = 0;
  // The pop-up menus this window owns that are on the screen now.
  std::vector<SkinnedMenu> menus_shown;
};

// A message's answer, or nothing to hand the message on unchanged.
using Answer = std::optional<LRESULT>;

// Answers the messages that draw a window the skin paints whole: WM_PAINT and
// WM_PRINTCLIENT draw through `paint(dc)`, and WM_ERASEBKGND erases nothing (the painting
// covers the window, so erasing first would only flicker). Other messages get no answer.
template <typename Paint>
Answer paint_whole(HWND hwnd, UINT message, WPARAM wparam, Paint&& paint) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      paint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return std::nullopt;
  }
}

// Takes a window of the calling thread under the skin; windows of classes the skin leaves
// alone (menus, tool tips, input-method windows) and windows taken already are skipped.
void skin_window(HWND hwnd);
// Every window of the calling thread, children included.
void skin_thread_windows();
// Repaints every window of the calling thread, frames included (after a skin changes).
void repaint_thread_windows();
// Marks the skinned windows of the process's other threads for repainting, frames
// included; each thread repaints them when it next looks at its messages. Never waits for
// another thread.
void repaint_other_threads_windows();

// What a window's parent paints a child's background with, as the child's own drawing
// would learn it: WM_CTLCOLORSTATIC or WM_CTLCOLORBTN.
struct ParentColours {
  HBRUSH brush;
  COLORREF background;  // the brush's colour (white when it has none of its own)
};
ParentColours parent_colours(HWND hwnd, HDC dc, UINT message);

// A colour as the skin's data holds it.
inline SkinRgb rgb_of(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// `wanted` for text on `colours`' background when it reads there; otherwise the shade of
// it nearest to it that does (a dark skin's light text on a light window, say).
COLORREF legible_text(COLORREF wanted, const ParentColours& colours);

// The parts, each in its own file.
Answer frame_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                     WPARAM wparam, LPARAM lparam);
Answer children_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                        WPARAM wparam, LPARAM lparam);
Answer button_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                      WPARAM wparam, LPARAM lparam);
Answer border_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                      WPARAM wparam, LPARAM lparam);
Answer combo_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                     WPARAM wparam, LPARAM lparam);
Answer header_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                      WPARAM wparam, LPARAM lparam);
// The pop-up menus a window owns (any kind of window), and the menu windows themselves.
Answer menu_owner_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                          WPARAM wparam, LPARAM lparam);
Answer menu_window_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                           WPARAM wparam, LPARAM lparam);
// Gives every menu the window owns that is still shown in the skin's colours its items back.
void give_back_menus(SkinnedWindow& state);

// The window's own procedure (and any subclass before the skin's) for one message.
LRESULT pass_on(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

#endif  // MOYAN_SKIN_SKINNED_WINDOW_H_
