// Shows every skin on one sheet, for looking at them side by side:
//   skin_sheet SkinH_EL.dll SKIN_BLOCK_DIR OUT.bmp
// For each block skin_NN.she (01 to 33) it attaches the skin, opens a small window with one
// control of each kind the skin restyles, copies what the screen shows of it onto the
// sheet with the skin's number and name below, and closes it. Needs a display.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/skin_data.h"
#include "win32/code_page.h"
#include "win32/owned_handle.h"
#include "win32/window_class.h"

namespace {

constexpr int kSkinCount = 33;
constexpr int kColumns = 5;
constexpr int kTileWidth = 264, kTileHeight = 176;  // the sample window
constexpr int kLabelHeight = 20, kGap = 8;
constexpr wchar_t kSampleClass[] = L"SkinSheetSample";

using AttachSkin = int(WINAPI*)(const void*, int, const char*, int, int, int);

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG msg;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

HWND control(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex_style, int x, int y,
             int w, int h, HWND parent) {
  HWND hwnd = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                              parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return hwnd;
}

// A window with one control of each kind: edit box, push button, check box, group box,
// drop-down list, and a list with its header and a chosen row.
HWND sample_window(const std::wstring& title) {
  HWND w = CreateWindowExW(
      0, kSampleClass, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
      0, kTileWidth, kTileHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  control(L"EDIT", L"edit", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 8, 8, 110, 22, w);
  control(L"BUTTON", L"button", BS_PUSHBUTTON, 0, 128, 7, 70, 24, w);
  HWND check = control(L"BUTTON", L"check", BS_AUTOCHECKBOX, 0, 204, 10, 50, 18, w);
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  control(L"BUTTON", L"group", BS_GROUPBOX, 0, 8, 36, 110, 52, w);
  control(L"BUTTON", L"radio", BS_AUTORADIOBUTTON, 0, 16, 58, 80, 18, w);
  HWND combo = control(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 128, 40, 118, 120, w);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"choice"));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  HWND list = control(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 128, 68,
                      118, 72, w);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 110;
  column.pszText = const_cast<wchar_t*>(L"list");
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  for (int i = 0; i < 3; ++i) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(i == 1 ? L"chosen" : L"row");
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  LVITEMW chosen = {};
  chosen.stateMask = chosen.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&chosen));
  control(L"BUTTON", L"disabled", BS_PUSHBUTTON | WS_DISABLED, 0, 8, 96, 110, 24, w);
  ShowWindow(w, SW_SHOWNORMAL);
  SetForegroundWindow(w);
  UpdateWindow(w);
  return w;
}

bool save_bmp(HDC dc, HBITMAP bitmap, int width, int height, const char* path) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  std::fwrite(&file, sizeof(file), 1, out);
  std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: skin_sheet SkinH_EL.dll SKIN_BLOCK_DIR OUT.bmp\n");
    return 2;
  }
  HMODULE library = LoadLibraryW(win32::widen_utf8(argv[1]).c_str());
  auto attach = library ? reinterpret_cast<AttachSkin>(
                              reinterpret_cast<void*>(GetProcAddress(library, "SkinH_AttachRes")))
                        : nullptr;
  if (attach == nullptr) {
    std::fprintf(stderr, "skin_sheet: no SkinH_AttachRes in %s\n", argv[1]);
    return 1;
  }
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  win32::register_window_class(GetModuleHandleW(nullptr), kSampleClass, DefWindowProcW,
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

  const int rows = (kSkinCount + kColumns - 1) / kColumns;
  const int width = kGap + kColumns * (kTileWidth + kGap);
  const int height = kGap + rows * (kTileHeight + kLabelHeight + kGap);
  HDC screen = GetDC(nullptr);
  win32::MemoryDc sheet(CreateCompatibleDC(screen));
  win32::Bitmap pixels(CreateCompatibleBitmap(screen, width, height));
  HGDIOBJ old_bitmap = SelectObject(sheet.get(), pixels.get());
  RECT all = {0, 0, width, height};
  FillRect(sheet.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(sheet.get(), GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(sheet.get(), TRANSPARENT);

  int failures = 0;
  for (int number = 1; number <= kSkinCount; ++number) {
    char name[32];
    std::snprintf(name, sizeof(name), "/skin_%02d.she", number);
    const std::string block = read_file(argv[2] + std::string(name));
    SkinData skin;
    if (!read_skin(block, &skin).is_ok() ||
        attach(block.data(), static_cast<int>(block.size()), "", 0, 0, 0) != 1) {
      std::fprintf(stderr, "skin_sheet: skin %d was not attached\n", number);
      ++failures;
      continue;
    }
    const std::wstring label = std::to_wstring(number) + L"  " + win32::widen(skin.name);
    HWND window = sample_window(label);
    pump(250);
    const int x = kGap + ((number - 1) % kColumns) * (kTileWidth + kGap);
    const int y = kGap + ((number - 1) / kColumns) * (kTileHeight + kLabelHeight + kGap);
    RECT place;
    GetWindowRect(window, &place);
    BitBlt(sheet.get(), x, y, kTileWidth, kTileHeight, screen, place.left, place.top, SRCCOPY);
    RECT text = {x, y + kTileHeight + 2, x + kTileWidth, y + kTileHeight + kLabelHeight};
    DrawTextW(sheet.get(), label.c_str(), -1, &text, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    DestroyWindow(window);
    pump(50);
  }
  SelectObject(sheet.get(), old_bitmap);
  const bool saved = save_bmp(screen, pixels.get(), width, height, argv[3]);
  ReleaseDC(nullptr, screen);
  if (!saved) {
    std::fprintf(stderr, "skin_sheet: could not write %s\n", argv[3]);
    return 1;
  }
  std::printf("skin_sheet: %d skins on %s\n", kSkinCount - failures, argv[3]);
  return failures == 0 ? 0 : 1;
}
