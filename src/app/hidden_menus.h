#ifndef MOYAN_APP_HIDDEN_MENUS_H_
#define MOYAN_APP_HIDDEN_MENUS_H_

#include <windows.h>

#include "ui/controls.h"
#include "win32/owned_handle.h"

// MainWindow's two hidden top-level menus, shown only as pop-up menus.
class HiddenMenus {
 public:
  HiddenMenus();

  // `pop_up_menu`: shows the menu's items at the mouse position moved 3 pixels right and
  // down, owned by `owner`, tracking the right button; returns the chosen item's command
  // (kNone when the menu closed without a choice).
  MenuCommand pop_up(PopupMenu menu, HWND owner) const;

 private:
  win32::OwnedMenu source_management_;
  win32::OwnedMenu main_menu_;
};

#endif  // MOYAN_APP_HIDDEN_MENUS_H_
