#include "app/result_list_view.h"

#include <algorithm>

#include "app/layout.h"
#include "win32/code_page.h"

namespace {

constexpr int kColumns = 6;
constexpr UINT_PTR kRowsSubclassId = 1;

// The list's rows: each row's six cells in one string, separated by zero bytes (texts
// hold none), which keeps a large listing's memory near the bytes of its texts.
class ListRows {
 public:
  int count() const { return static_cast<int>(rows_.size()); }
  void clear() { std::vector<std::string>().swap(rows_); }
  int append() {
    rows_.emplace_back(kColumns - 1, '\0');
    return count() - 1;
  }
  void erase(int row) { rows_.erase(rows_.begin() + row); }

  std::string cell(int row, int column) const {
    const std::string& joined = rows_[static_cast<size_t>(row)];
    size_t start = 0;
    for (int c = 0; c < column; ++c) start = joined.find('\0', start) + 1;
    return joined.substr(start, joined.find('\0', start) - start);
  }
  void set(int row, int column, const std::string& text) {
    std::string& joined = rows_[static_cast<size_t>(row)];
    size_t start = 0;
    for (int c = 0; c < column; ++c) start = joined.find('\0', start) + 1;
    const size_t end = joined.find('\0', start);
    // A text ends at its first zero byte, as a cell of a list view does.
    joined.replace(start, (end == std::string::npos ? joined.size() : end) - start,
                   text.substr(0, text.find('\0')));
  }

 private:
  std::vector<std::string> rows_;
};

// The rows belong to the list window: made with it, found by a window property, freed
// when it goes.
constexpr wchar_t kRowsProperty[] = L"MoyanListRows";

LRESULT CALLBACK rows_owner(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                            DWORD_PTR) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, rows_owner, id);
    delete static_cast<ListRows*>(RemovePropW(hwnd, kRowsProperty));
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

ListRows* rows_of(HWND list) {
  return list == nullptr ? nullptr : static_cast<ListRows*>(GetPropW(list, kRowsProperty));
}

// Tells the list how many rows there are; only rows it shows are painted again.
void show_count(HWND list, const ListRows& rows) {
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows.count()),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

}  // namespace

HWND create_result_list(HWND parent, int id, const RECT& place) {
  HWND list = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_NOCOLUMNHEADER |
          LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_OWNERDATA,
      place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (list == nullptr) return nullptr;
  auto* rows = new ListRows;
  if (!SetPropW(list, kRowsProperty, rows)) {
    delete rows;
    DestroyWindow(list);
    return nullptr;
  }
  if (!SetWindowSubclass(list, rows_owner, kRowsSubclassId, 0)) {
    delete static_cast<ListRows*>(RemovePropW(list, kRowsProperty));
    DestroyWindow(list);
    return nullptr;
  }
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
  ListRows* rows = rows_of(list);
  if (rows == nullptr) return;
  rows->clear();
  // No row is left to be selected or have the focus.
  SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
}

int list_insert_row(HWND list) {
  ListRows* rows = rows_of(list);
  if (rows == nullptr) return -1;
  const int row = rows->append();
  show_count(list, *rows);
  return row;
}

void list_set_cell_text(HWND list, int row, int column, const std::string& text) {
  ListRows* rows = rows_of(list);
  if (rows == nullptr || row < 0 || row >= rows->count() || column < 0 || column >= kColumns) {
    return;
  }
  rows->set(row, column, text);
  SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

std::string list_cell_text(HWND list, int row, int column) {
  const ListRows* rows = rows_of(list);
  if (rows == nullptr || row < 0 || row >= rows->count() || column < 0 || column >= kColumns) {
    return std::string();
  }
  return rows->cell(row, column);
}

int list_append_numbered_rows(HWND list, const std::vector<ResultList::RowTexts>& texts) {
  ListRows* rows = rows_of(list);
  if (rows == nullptr || texts.empty()) return -1;
  const int first = rows->count();
  for (const ResultList::RowTexts& row_texts : texts) {
    const int row = rows->append();
    rows->set(row, 0, std::to_string(row + 1));
    for (size_t i = 0; i < row_texts.size(); ++i) {
      rows->set(row, static_cast<int>(i) + 1, row_texts[i]);
    }
  }
  show_count(list, *rows);
  return first;
}

void list_delete_row(HWND list, int row) {
  ListRows* rows = rows_of(list);
  if (rows == nullptr || row < 0 || row >= rows->count()) return;
  // The list keeps its selection and focus by index: the rows after the deleted one move
  // up, and their states with them.
  const int selected = list_selected_row(list);
  const int focused =
      static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  rows->erase(row);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  show_count(list, *rows);
  auto moved = [row](int index) { return index > row ? index - 1 : index; };
  if (focused >= 0 && focused != row) {
    ListView_SetItemState(list, moved(focused), LVIS_FOCUSED, LVIS_FOCUSED);
  }
  if (selected >= 0 && selected != row) {
    ListView_SetItemState(list, moved(selected), LVIS_SELECTED, LVIS_SELECTED);
  }
  InvalidateRect(list, nullptr, TRUE);
}

int list_row_count(HWND list) {
  const ListRows* rows = rows_of(list);
  return rows == nullptr ? 0 : rows->count();
}

int list_selected_row(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void list_answer_display_info(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  const ListRows* rows = rows_of(info.hdr.hwndFrom);
  if (rows == nullptr || item.iItem < 0 || item.iItem >= rows->count() || item.iSubItem < 0 ||
      item.iSubItem >= kColumns) {
    return;
  }
  const std::wstring text = win32::widen(rows->cell(item.iItem, item.iSubItem));
  const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
  std::copy_n(text.begin(), n, item.pszText);
  item.pszText[n] = L'\0';
}

LRESULT list_find_typed_row(const NMLVFINDITEMW& find) {
  // Typing in the list selects the next row whose number (column 0) begins with what was
  // typed, as a list that keeps its own rows does with its labels.
  const ListRows* rows = rows_of(find.hdr.hwndFrom);
  if (rows == nullptr || (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 ||
      find.lvfi.psz == nullptr || rows->count() == 0) {
    return -1;
  }
  const std::wstring typed = find.lvfi.psz;
  const bool whole = (find.lvfi.flags & LVFI_PARTIAL) == 0;
  auto begins = [&](int row) {
    const std::wstring label = win32::widen(rows->cell(row, 0));
    return whole ? label == typed : label.compare(0, typed.size(), typed) == 0;
  };
  const int count = rows->count();
  const int start = std::clamp(find.iStart, 0, count - 1);
  for (int row = start; row < count; ++row) {
    if (begins(row)) return row;
  }
  if ((find.lvfi.flags & LVFI_WRAP) != 0) {
    for (int row = 0; row < start; ++row) {
      if (begins(row)) return row;
    }
  }
  return -1;
}
