#include "app/hidden_menus.h"

#include <span>
#include <string>

#include "app/layout.h"
#include "app/window_messages.h"
#include "win32/code_page.h"

namespace {

// Level 1 items go into the menu; a level 1 item followed by level 2 items becomes a
// sub-menu holding them.
win32::OwnedMenu build_menu(PopupMenu which) {
  win32::OwnedMenu popup(CreatePopupMenu());
  HMENU submenu = nullptr;
  std::wstring submenu_caption;
  auto close_submenu = [&] {
    if (submenu != nullptr) {
      AppendMenuW(popup.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                  submenu_caption.c_str());
      submenu = nullptr;
    }
  };
  std::span<const MenuItemSpec> items = menu_items(which);
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItemSpec& item = items[i];
    UINT_PTR id = kFirstMenuId + static_cast<UINT_PTR>(item.command);
    if (item.level == 1) {
      close_submenu();
      bool has_children = i + 1 < items.size() && items[i + 1].level == 2;
      if (has_children) {
        submenu = CreatePopupMenu();
        submenu_caption = win32::widen(item.caption);
      } else {
        AppendMenuW(popup.get(), MF_STRING, id, win32::widen(item.caption).c_str());
      }
    } else if (item.level == 2 && submenu != nullptr) {
      AppendMenuW(submenu, MF_STRING, id, win32::widen(item.caption).c_str());
    }
  }
  close_submenu();
  return popup;
}

}  // namespace

HiddenMenus::HiddenMenus()
    : source_management_(build_menu(PopupMenu::kSourceManagement)),
      main_menu_(build_menu(PopupMenu::kMainMenu)) {}

MenuCommand HiddenMenus::pop_up(PopupMenu menu, HWND owner) const {
  POINT at = {};
  GetCursorPos(&at);
  HMENU popup = menu == PopupMenu::kMainMenu ? main_menu_.get() : source_management_.get();
  // The owner comes to the front so the menu closes when the user clicks elsewhere, and
  // the posted message lets the menu's own loop end cleanly.
  SetForegroundWindow(owner);
  auto chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x + 3,
                                                 at.y + 3, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen <= kFirstMenuId) return MenuCommand::kNone;
  return static_cast<MenuCommand>(chosen - kFirstMenuId);
}
