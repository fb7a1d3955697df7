// Pop-up menus in the skin's colours: the menu's background, its texts and the chosen item.
// When a skinned window is told that one of its pop-up menus is about to show, the skin
// makes the menu's text items and separators owner-drawn and answers the owner-drawn
// items' measuring and drawing for the window; when the menu closes, every item is given
// back its own type, data and text, so the program's menu is as it was. Items, their order,
// commands, states and sub-menus are never touched. The menu window's own edge is drawn in
// the skin's frame colour.
#include <windows.h>

#include <algorithm>
#include <string>

#include "skin/skin_paint.h"
#include "skin/skinned_window.h"

namespace {

// The text's margins in an item: room for a check mark on the left, for a sub-menu's arrow
// on the right.
int left_margin() {
  return GetSystemMetrics(SM_CXMENUCHECK) + 6;
}
int right_margin() {
  return GetSystemMetrics(SM_CXMENUCHECK) + 4;
}
constexpr int kSeparatorHeight = 7;

SkinnedMenu* shown(SkinnedWindow& state, HMENU menu) {
  for (SkinnedMenu& m : state.menus_shown) {
    if (m.menu == menu) return &m;
  }
  return nullptr;
}

// The record behind an owner-drawn item, when the skin made it so.
const SkinnedMenuItem* item_of(const SkinnedWindow& state, ULONG_PTR data) {
  for (const SkinnedMenu& m : state.menus_shown) {
    for (const auto& item : m.items) {
      if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    }
  }
  return nullptr;
}

void take_menu(SkinnedWindow& state, const AttachedSkin& skin, HMENU menu) {
  if (shown(state, menu) != nullptr) return;
  SkinnedMenu taken = {menu, nullptr, {}};
  MENUINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  if (GetMenuInfo(menu, &info)) taken.background = info.hbrBack;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
    if (!GetMenuItemInfoW(menu, position, TRUE, &item)) continue;
    // Pictures and items the program draws itself keep their look.
    if (item.fType & (MFT_BITMAP | MFT_OWNERDRAW)) continue;
    auto record = std::make_unique<SkinnedMenuItem>(
        SkinnedMenuItem{menu, static_cast<UINT>(position), item.fType, item.dwItemData,
                        std::wstring(item.cch, L'\0'), item.hSubMenu != nullptr});
    if (!(item.fType & MFT_SEPARATOR)) {  // its text, asked for once its length is known
      MENUITEMINFOW text = {};
      text.cbSize = sizeof(text);
      text.fMask = MIIM_STRING;
      text.dwTypeData = record->text.data();
      text.cch = static_cast<UINT>(record->text.size() + 1);
      if (!GetMenuItemInfoW(menu, position, TRUE, &text)) continue;
    }
    MENUITEMINFOW drawn = {};
    drawn.cbSize = sizeof(drawn);
    drawn.fMask = MIIM_FTYPE | MIIM_DATA;
    drawn.fType = item.fType | MFT_OWNERDRAW;
    drawn.dwItemData = reinterpret_cast<ULONG_PTR>(record.get());
    if (SetMenuItemInfoW(menu, position, TRUE, &drawn)) taken.items.push_back(std::move(record));
  }
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = skin.brush(SkinColour::kWindowBackground);
  SetMenuInfo(menu, &info);
  state.menus_shown.push_back(std::move(taken));
}

void give_back(const SkinnedMenu& menu) {
  for (const auto& item : menu.items) {
    MENUITEMINFOW own = {};
    own.cbSize = sizeof(own);
    own.fMask = MIIM_FTYPE | MIIM_DATA;
    own.fType = item->type;
    own.dwItemData = item->data;
    if (!(item->type & MFT_SEPARATOR)) {
      own.fMask |= MIIM_STRING;
      own.dwTypeData = const_cast<wchar_t*>(item->text.c_str());
    }
    SetMenuItemInfoW(menu.menu, item->position, TRUE, &own);
  }
  MENUINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = menu.background;
  SetMenuInfo(menu.menu, &info);
}

// The text before a tab, and the shortcut after it.
std::pair<std::wstring, std::wstring> split_at_tab(const std::wstring& text) {
  const size_t tab = text.find(L'\t');
  if (tab == std::wstring::npos) return {text, std::wstring()};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

void measure(HWND owner, const AttachedSkin& skin, const SkinnedMenuItem& item,
             MEASUREITEMSTRUCT& size) {
  if (item.type & MFT_SEPARATOR) {
    size.itemWidth = 0;
    size.itemHeight = kSeparatorHeight;
    return;
  }
  HDC dc = GetDC(owner);
  HGDIOBJ old_font = SelectObject(dc, skin.menu_font());
  const auto [label, shortcut] = split_at_tab(item.text);
  RECT label_size = {}, shortcut_size = {};
  DrawTextW(dc, label.c_str(), -1, &label_size, DT_SINGLELINE | DT_CALCRECT);
  int width = label_size.right;
  if (!shortcut.empty()) {
    DrawTextW(dc, shortcut.c_str(), -1, &shortcut_size, DT_SINGLELINE | DT_CALCRECT);
    width += 3 * GetSystemMetrics(SM_CXMENUCHECK) + shortcut_size.right;
  }
  SelectObject(dc, old_font);
  ReleaseDC(owner, dc);
  size.itemWidth = static_cast<UINT>(left_margin() + width + right_margin());
  size.itemHeight =
      static_cast<UINT>(std::max<int>(label_size.bottom + 8, GetSystemMetrics(SM_CYMENU)));
}

void draw_arrow(HDC dc, const RECT& item, COLORREF colour) {
  const int middle = (item.top + item.bottom) / 2;
  const int left = item.right - right_margin() / 2 - 2;
  for (int column = 0; column < 4; ++column) {
    fill_rect(dc, {left + column, middle - 3 + column, left + column + 1, middle + 4 - column},
              colour);
  }
}

void draw(const AttachedSkin& skin, const SkinnedMenuItem& item, const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  const RECT& r = d.rcItem;
  const bool chosen = (d.itemState & ODS_SELECTED) != 0;
  const bool grayed = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const COLORREF background =
      skin[chosen ? SkinColour::kSelectionBackground : SkinColour::kWindowBackground];
  fill_rect(dc, r, background);
  if (item.type & MFT_SEPARATOR) {
    const int y = (r.top + r.bottom) / 2;
    fill_rect(dc, {r.left + 2, y, r.right - 2, y + 1}, skin[SkinColour::kGroupFrame]);
  } else {
    COLORREF ink = skin[chosen ? SkinColour::kSelectionText : SkinColour::kWindowText];
    if (grayed) ink = skin[SkinColour::kDisabledText];
    HGDIOBJ old_font = SelectObject(dc, skin.menu_font());
    const auto [label, shortcut] = split_at_tab(item.text);
    const UINT hide_prefix = (d.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    RECT text = {r.left + left_margin(), r.top, r.right - right_margin(), r.bottom};
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old_colour = SetTextColor(dc, ink);
    DrawTextW(dc, label.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | hide_prefix);
    if (!shortcut.empty()) {
      DrawTextW(dc, shortcut.c_str(), -1, &text,
                DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    SetTextColor(dc, old_colour);
    SetBkMode(dc, old_mode);
    SelectObject(dc, old_font);
    if (d.itemState & ODS_CHECKED) {
      const int x = r.left + 5, y = (r.top + r.bottom) / 2;
      draw_line(dc, x, y, x + 3, y + 3, ink, 2);
      draw_line(dc, x + 3, y + 3, x + 9, y - 3, ink, 2);
    }
    if (item.opens_submenu) draw_arrow(dc, r, ink);
  }
  // The system draws a sub-menu's arrow of its own after this, in its own colours: the
  // item's rectangle is closed to it.
  ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

void give_back_menus(SkinnedWindow& state) {
  for (const SkinnedMenu& menu : state.menus_shown) give_back(menu);
  state.menus_shown.clear();
}

Answer menu_owner_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                          WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITMENUPOPUP: {
      // The owner fills or changes the menu first; the window menu is the system's.
      const LRESULT result = pass_on(hwnd, message, wparam, lparam);
      if (!HIWORD(lparam)) take_menu(state, skin, reinterpret_cast<HMENU>(wparam));
      return result;
    }
    case WM_EXITMENULOOP:
      // Every menu shown since the loop began, sub-menus opened on the way included.
      give_back_menus(state);
      return std::nullopt;
    case WM_MEASUREITEM: {
      auto* size = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (size == nullptr || size->CtlType != ODT_MENU) return std::nullopt;
      const SkinnedMenuItem* item = item_of(state, size->itemData);
      if (item == nullptr) return std::nullopt;
      measure(hwnd, skin, *item, *size);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (d == nullptr || d->CtlType != ODT_MENU) return std::nullopt;
      const SkinnedMenuItem* item = item_of(state, d->itemData);
      if (item == nullptr) return std::nullopt;
      draw(skin, *item, *d);
      return TRUE;
    }
    default:
      return std::nullopt;
  }
}

Answer menu_window_message(HWND hwnd, SkinnedWindow& /*state*/, const AttachedSkin& skin,
                           UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT && message != WM_NCPAINT) return std::nullopt;
  const LRESULT result = pass_on(hwnd, message, wparam, lparam);
  // Only a menu shown in the skin's colours (its background is the skin's) gets the edge.
  constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(hwnd, kGetMenu, 0, 0));
  MENUINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  if (menu == nullptr || !GetMenuInfo(menu, &info) ||
      info.hbrBack != skin.brush(SkinColour::kWindowBackground)) {
    return result;
  }
  // The system's edge lies between the window's rectangle and the first item: a line of
  // the frame colour, and the menu's background inside it, never over an item.
  RECT window, first;
  GetWindowRect(hwnd, &window);
  if (!GetMenuItemRect(nullptr, menu, 0, &first)) return result;
  const int edge = std::min<int>(first.left - window.left, first.top - window.top);
  HDC dc = GetWindowDC(hwnd);
  if (dc == nullptr) return result;
  RECT ring = {0, 0, window.right - window.left, window.bottom - window.top};
  for (int i = 0; i < edge && i < 3; ++i) {
    outline_rect(dc, ring, skin[i == 0 ? SkinColour::kFrame : SkinColour::kWindowBackground]);
    InflateRect(&ring, -1, -1);
  }
  ReleaseDC(hwnd, dc);
  return result;
}
