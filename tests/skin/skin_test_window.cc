#include "skin_test_window.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "icon_pixels.h"
#include "win32/window_class.h"
#include "window_driver.h"

namespace {

constexpr wchar_t kFrameClass[] = L"SkinTestFrame";
constexpr wchar_t kPictureClass[] = L"SkinTestPicture";
constexpr wchar_t kPanelClass[] = L"SkinTestDarkPanel";
constexpr int kOwnerDrawnId = 77;

LRESULT CALLBACK frame_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  // The owner-drawn button, and menu items the window draws itself.
  if (message == WM_DRAWITEM && (wparam == kOwnerDrawnId || wparam == 0)) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    HBRUSH brush = CreateSolidBrush(kOwnerDrawnColour);
    FillRect(item->hDC, &item->rcItem, brush);
    DeleteObject(brush);
    return TRUE;
  }
  if (message == WM_MEASUREITEM && wparam == 0) {
    auto* size = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    size->itemWidth = 60;
    size->itemHeight = 20;
    return TRUE;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK picture_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH brush = CreateSolidBrush(kOwnPictureColour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Paints itself dark and tells its children so, as the program's own containers do.
LRESULT CALLBACK panel_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  static HBRUSH dark = CreateSolidBrush(kDarkPanelColour);
  switch (message) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, dark);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wparam), kDarkPanelColour);
      return reinterpret_cast<LRESULT>(dark);
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

void register_classes() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    win32::register_window_class(instance, kFrameClass, frame_proc,
                                 reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    win32::register_window_class(instance, kPictureClass, picture_proc);
    win32::register_window_class(instance, kPanelClass, panel_proc);
    return true;
  }();
  (void)done;
}

HWND child(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex_style, int x, int y,
           int w, int h, HWND parent, int id = 0) {
  HWND hwnd = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return hwnd;
}

// Dialog procedures take the system's calling convention, which a lambda can't on 32-bit
// Windows.
INT_PTR CALLBACK default_dialog_procedure(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

}  // namespace

AttachSkin skin_library() {
  static AttachSkin entry = [] {
    HMODULE library = LoadLibraryW(beside_this_program(L"SkinH_EL.dll").c_str());
    return library != nullptr ? reinterpret_cast<AttachSkin>(reinterpret_cast<void*>(
                                    GetProcAddress(library, "SkinH_AttachRes")))
                              : nullptr;
  }();
  return entry;
}

int attach(const std::string& block) {
  return skin_library()(block.empty() ? nullptr : block.data(), static_cast<int>(block.size()), "",
                        0, 0, 0);
}

SkinData distinct_skin(int seed) {
  SkinData skin;
  skin.name = "test";
  for (int role = 1; role <= kSkinColourLast; ++role) {
    skin.colours[role] =
        SkinRgb{static_cast<uint8_t>(6 * role + seed), static_cast<uint8_t>(250 - 5 * role),
                static_cast<uint8_t>((40 * role + 3 * seed) % 256)};
  }
  // Texts that stand on the windows around them are dark, so they read on the light test
  // window as they are.
  skin.set(SkinColour::kCheckText, {static_cast<uint8_t>(30 + seed), 40, 110});
  skin.set(SkinColour::kGroupText, {static_cast<uint8_t>(90 + seed), 20, 40});
  return skin;
}

COLORREF colour_of(const SkinData& skin, SkinColour role) {
  const SkinRgb& rgb = *skin.colour(role);
  return RGB(rgb.r, rgb.g, rgb.b);
}

TestWindow create_test_window(int left, int top, const wchar_t* title) {
  register_classes();
  TestWindow w;
  w.frame = CreateWindowExW(0, kFrameClass, title,
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                            440, 330, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  w.edit =
      child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 10, 150, 24, w.frame);
  w.push = child(L"BUTTON", L"Push", WS_TABSTOP | BS_PUSHBUTTON, 0, 180, 10, 90, 26, w.frame);
  w.check = child(L"BUTTON", L"Check", WS_TABSTOP | BS_AUTOCHECKBOX, 0, 290, 14, 90, 18, w.frame);
  w.group = child(L"BUTTON", L"Group", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 10, 50, 160, 70, w.frame);
  w.combo = child(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 180, 50, 140,
                  160, w.frame);
  SendMessageW(w.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first"));
  SendMessageW(w.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second"));
  w.list = child(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                 WS_EX_CLIENTEDGE, 10, 130, 300, 150, w.frame);
  SendMessageW(w.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 200;
  column.pszText = const_cast<wchar_t*>(L"Title");
  SendMessageW(w.list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  for (int i = 0; i < 2; ++i) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(L"row");
    SendMessageW(w.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  w.own_picture = child(kPictureClass, L"", 0, 0, 330, 130, 60, 40, w.frame);
  w.owner_drawn = child(L"BUTTON", L"", BS_OWNERDRAW, 0, 330, 190, 60, 30, w.frame, kOwnerDrawnId);
  w.dark_panel = child(kPanelClass, L"", WS_CLIPCHILDREN, 0, 320, 230, 110, 50, w.frame);
  w.edit_on_dark = child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 5, 2, 100, 24,
                         w.dark_panel);
  w.check_on_dark =
      child(L"BUTTON", L"Dark", WS_TABSTOP | BS_AUTOCHECKBOX, 0, 5, 30, 90, 18, w.dark_panel);
  ShowWindow(w.frame, SW_SHOWNORMAL);
  UpdateWindow(w.frame);
  pump_for(100);
  return w;
}

HWND create_test_dialog(int left, int top) {
  // A dialog template in memory: one box with one text.
  struct {
    DLGTEMPLATE dialog;
    WORD menu, window_class, title;
    DLGITEMTEMPLATE text;
    WORD text_class[2];
    wchar_t text_title[6];
    WORD extra;
  } t = {};
  t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
  t.dialog.cdit = 1;
  t.dialog.x = 0;
  t.dialog.y = 0;
  t.dialog.cx = 120;
  t.dialog.cy = 60;
  t.text.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
  t.text.x = 10;
  t.text.y = 10;
  t.text.cx = 60;
  t.text.cy = 10;
  t.text.id = 1;
  t.text_class[0] = 0xFFFF;
  t.text_class[1] = 0x0082;  // static
  wcscpy(t.text_title, L"Text");
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, nullptr,
                                           default_dialog_procedure, 0);
  SetWindowPos(dialog, HWND_TOP, left, top, 0, 0, SWP_NOSIZE);
  UpdateWindow(dialog);
  pump_for(100);
  return dialog;
}

COLORREF pixel_of(HWND window, int x, int y) {
  RECT r;
  GetWindowRect(window, &r);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, r.left + x, r.top + y);
  ReleaseDC(nullptr, screen);
  return c;
}

int pixels_of_colour(HWND window, const RECT& area, COLORREF colour) {
  // One copy of the area: a screen read per pixel would take seconds under Wine.
  RECT r;
  GetWindowRect(window, &r);
  const Pixels shown = screen_pixels(
      {r.left + area.left, r.top + area.top, r.left + area.right, r.top + area.bottom});
  int count = 0;
  for (uint32_t pixel : shown.argb) {
    count += RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF) == colour;
  }
  return count;
}

CaptionRows caption_rows(HWND window) {
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  const int border = origin.x - outer.left;
  return {border, border, origin.y - outer.top};
}

bool taken_by_skin(HWND window) {
  return GetPropW(window, L"SkinH_EL.taken") != nullptr;
}

std::string describe(COLORREF colour) {
  char text[40];
  std::snprintf(text, sizeof(text), "RGB(%d, %d, %d)", GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
  return text;
}
