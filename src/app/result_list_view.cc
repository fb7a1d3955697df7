#include "app/result_list_view.h"

#include <windows.h>

#include <commctrl.h>

#include <climits>
#include <vector>

#include "app/layout.h"
#include "win32/code_page.h"

HWND create_result_list(HWND parent, int id, const RECT& place) {
  HWND list = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_NOCOLUMNHEADER |
          LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
      place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (list == nullptr) return nullptr;
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  ListView_SetBkColor(list, RGB(255, 255, 255));
  ListView_SetTextBkColor(list, RGB(255, 255, 255));
  ListView_SetTextColor(list, RGB(0, 0, 0));
  int index = 0;
  for (const ListColumn& column : result_list_columns()) {
    std::wstring title = win32::widen(column.title);
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = column.width;
    lvc.pszText = title.data();
    lvc.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&lvc));
    ++index;
  }
  return list;
}

void list_delete_all_rows(HWND list) {
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

int list_insert_row(HWND list) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = INT_MAX;  // at the end, whatever the count is by then
  wchar_t empty[1] = {};
  item.pszText = empty;
  return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void list_set_cell_text(HWND list, int row, int column, const std::string& text) {
  if (row < 0 || row >= list_row_count(list) || column < 0) return;
  std::wstring wide = win32::widen(text);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::string list_cell_text(HWND list, int row, int column) {
  if (row < 0 || row >= list_row_count(list) || column < 0) return std::string();
  // The list copies at most the buffer's size; grow until the text fits.
  for (size_t size = 256; size <= (size_t{1} << 24); size *= 4) {
    std::vector<wchar_t> buffer(size, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    auto length = static_cast<size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < size) return win32::narrow(std::wstring(buffer.data(), length));
  }
  return std::string();
}

void list_delete_row(HWND list, int row) {
  if (row < 0 || row >= list_row_count(list)) return;
  SendMessageW(list, LVM_DELETEITEM, row, 0);
}

int list_row_count(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int list_selected_row(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
