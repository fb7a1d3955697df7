// List headers: a flat face in the skin's colours, each column's title, and a divider
// at each column's right edge.
#include <windows.h>

#include <commctrl.h>

#include "skin/skin_paint.h"
#include "skin/skinned_window.h"

namespace {

void paint_header(HWND hwnd, HDC dc, const AttachedSkin& skin) {
  RECT client;
  GetClientRect(hwnd, &client);
  fill_rect(dc, client, skin[SkinColour::kHeaderFace]);
  const COLORREF divider = skin[SkinColour::kHeaderDivider];
  fill_rect(dc, {client.left, client.bottom - 1, client.right, client.bottom}, divider);
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ old_font = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  const auto count = static_cast<int>(SendMessageW(hwnd, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT item = {};
    if (!SendMessageW(hwnd, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item))) continue;
    if (item.right <= item.left) continue;  // a column of no width shows nothing
    wchar_t title[128] = {};
    HDITEMW info = {};
    info.mask = HDI_TEXT | HDI_FORMAT;
    info.pszText = title;
    info.cchTextMax = 128;
    SendMessageW(hwnd, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&info));
    UINT align = DT_LEFT;
    if ((info.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) align = DT_CENTER;
    if ((info.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) align = DT_RIGHT;
    RECT text = {item.left + 6, item.top, item.right - 6, item.bottom - 1};
    draw_text_line(dc, title, text, skin[SkinColour::kHeaderText],
                   align | DT_VCENTER | DT_END_ELLIPSIS);
    fill_rect(dc, {item.right - 1, item.top + 3, item.right, item.bottom - 4}, divider);
  }
  SelectObject(dc, old_font);
}

void paint(HWND hwnd, HDC dc, const AttachedSkin& skin) {
  RECT client;
  GetClientRect(hwnd, &client);
  BufferedDc buffer(dc, client);
  paint_header(hwnd, buffer.dc(), skin);
}

}  // namespace

Answer header_message(HWND hwnd, SkinnedWindow& /*window*/, const AttachedSkin& skin, UINT message,
                      WPARAM wparam, LPARAM /*lparam*/) {
  return paint_whole(hwnd, message, wparam, [&](HDC dc) { paint(hwnd, dc, skin); });
}
