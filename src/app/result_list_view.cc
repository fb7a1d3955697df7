#include "app/result_list_view.h"

#include <algorithm>
#include <cstdint>

#include "app/layout.h"
#include "win32/code_page.h"
#include "win32/owned_handle.h"

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

// Counting rows as the list view does, on the performance counter.
int64_t counter_now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}
int64_t counter_per_second() {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return f.QuadPart;
}

// What the list view has been told of the rows: their count, when, and what telling it
// cost. A count change costs the view more the more rows it has (under Wine about 20 ms
// at 80,000 rows, far more than the rows' texts), so rows appended below a full page are
// told in bursts instead: at most a fifth of a long listing goes into count changes.
struct ShownCount {
  int count = 0;
  int64_t told_at = 0;
  int64_t cost = 0;
  bool timer_set = false;
};

constexpr UINT_PTR kCountTimerId = 0x4D59;  // 'MY': clear of the view's own timers
// A row count is told no later than this after its rows were appended.
constexpr UINT kLongestCountDelayMs = 250;
// Told again once this many times the last count change's cost has passed.
constexpr int64_t kCountCostShare = 4;

struct ListState {
  ListRows rows;
  ShownCount shown;
};

// The rows belong to the list window: made with it, found by a window property, freed
// when it goes.
constexpr wchar_t kRowsProperty[] = L"MoyanListRows";

ListState* state_of(HWND list) {
  return list == nullptr ? nullptr : static_cast<ListState*>(GetPropW(list, kRowsProperty));
}

// Tells the list how many rows there are; only rows it shows are painted again.
void tell_count(HWND list, ListState& state) {
  if (state.shown.timer_set) {
    KillTimer(list, kCountTimerId);
    state.shown.timer_set = false;
  }
  const int64_t start = counter_now();
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(state.rows.count()),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  state.shown.told_at = counter_now();
  state.shown.cost = state.shown.told_at - start;
  state.shown.count = state.rows.count();
}

// Tells the list of rows appended after what it shows. When they all fall below its page
// (full already), nothing it shows changes: a view that repaints itself whole at every
// count change anyway (Wine's does, whatever the flags say) is kept from doing so, and
// the count itself may wait for the next burst. Only its scroll bar changes then.
void tell_appended(HWND list, ListState& state) {
  const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  const int page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  // The row after the page may show in part: it must be there already too.
  const bool below_page = state.shown.count > top + page;
  if (below_page) {
    const int64_t wait = kCountCostShare * state.shown.cost;
    const int64_t since = counter_now() - state.shown.told_at;
    if (since < wait) {
      if (!state.shown.timer_set) {
        const int64_t left_ms = (wait - since) * 1000 / counter_per_second() + 1;
        SetTimer(list, kCountTimerId,
                 static_cast<UINT>(std::min<int64_t>(left_ms, kLongestCountDelayMs)), nullptr);
        state.shown.timer_set = true;
      }
      return;
    }
  }
  // Parts waiting to be painted for other reasons stay so.
  const bool nothing_pending = GetUpdateRect(list, nullptr, FALSE) == FALSE;
  tell_count(list, state);
  if (below_page) {
    if (nothing_pending) ValidateRect(list, nullptr);
    return;
  }
  // Rows that show are painted now. Left to the next paint, they would wait while workers
  // keep the window's thread busy with rows and the caption's count, and meanwhile the
  // places made for them may already be wiped: a list without rows or grid lines under a
  // caption that counts them.
  UpdateWindow(list);
}

// Paints what is due in a picture first and puts it on screen in one step. The view's own
// painting wipes the places first and then draws row after row, and under Wine each row
// takes a few milliseconds: rows, grid lines and all, the wiped places would show empty
// meanwhile.
void paint_whole(HWND list) {
  PAINTSTRUCT ps;
  HDC screen = BeginPaint(list, &ps);
  if (screen == nullptr) return;
  const RECT& due = ps.rcPaint;
  const int width = due.right - due.left, height = due.bottom - due.top;
  if (width > 0 && height > 0) {
    const WPARAM all = PRF_ERASEBKGND | PRF_CLIENT;
    win32::MemoryDc picture(CreateCompatibleDC(screen));
    win32::Bitmap pixels(CreateCompatibleBitmap(screen, width, height));
    if (picture && pixels) {
      const HGDIOBJ old = SelectObject(picture.get(), pixels.get());
      SetWindowOrgEx(picture.get(), due.left, due.top, nullptr);
      DefSubclassProc(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.get()), all);
      BitBlt(screen, due.left, due.top, width, height, picture.get(), due.left, due.top, SRCCOPY);
      SelectObject(picture.get(), old);
    } else {
      DefSubclassProc(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(screen), all);
    }
  }
  EndPaint(list, &ps);
}

LRESULT CALLBACK rows_owner(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                            DWORD_PTR) {
  // Nothing is wiped ahead of the painting: the picture covers everything due.
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT && wparam == 0) {
    paint_whole(hwnd);
    return 0;
  }
  if (message == WM_TIMER && wparam == kCountTimerId) {
    if (ListState* state = state_of(hwnd)) {
      KillTimer(hwnd, kCountTimerId);
      state->shown.timer_set = false;
      if (state->shown.count != state->rows.count()) {
        state->shown.cost = 0;  // due now
        tell_appended(hwnd, *state);
      }
    }
    return 0;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, rows_owner, id);
    delete static_cast<ListState*>(RemovePropW(hwnd, kRowsProperty));
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
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
  auto* state = new ListState;
  if (!SetPropW(list, kRowsProperty, state)) {
    delete state;
    DestroyWindow(list);
    return nullptr;
  }
  if (!SetWindowSubclass(list, rows_owner, kRowsSubclassId, 0)) {
    delete static_cast<ListState*>(RemovePropW(list, kRowsProperty));
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
  ListState* state = state_of(list);
  if (state == nullptr) return;
  state->rows.clear();
  // No row is left to be selected or have the focus.
  tell_count(list, *state);
  InvalidateRect(list, nullptr, TRUE);
}

int list_insert_row(HWND list) {
  ListState* state = state_of(list);
  if (state == nullptr) return -1;
  const int row = state->rows.append();
  tell_appended(list, *state);
  return row;
}

void list_set_cell_text(HWND list, int row, int column, const std::string& text) {
  ListState* state = state_of(list);
  if (state == nullptr || row < 0 || row >= state->rows.count() || column < 0 ||
      column >= kColumns) {
    return;
  }
  state->rows.set(row, column, text);
  SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

std::string list_cell_text(HWND list, int row, int column) {
  const ListState* state = state_of(list);
  if (state == nullptr || row < 0 || row >= state->rows.count() || column < 0 ||
      column >= kColumns) {
    return std::string();
  }
  return state->rows.cell(row, column);
}

int list_append_numbered_rows(HWND list, const std::vector<ResultList::RowTexts>& texts) {
  ListState* state = state_of(list);
  if (state == nullptr || texts.empty()) return -1;
  ListRows& rows = state->rows;
  const int first = rows.count();
  for (const ResultList::RowTexts& row_texts : texts) {
    const int row = rows.append();
    rows.set(row, 0, std::to_string(row + 1));
    for (size_t i = 0; i < row_texts.size(); ++i) {
      rows.set(row, static_cast<int>(i) + 1, row_texts[i]);
    }
  }
  tell_appended(list, *state);
  return first;
}

void list_delete_row(HWND list, int row) {
  ListState* state = state_of(list);
  if (state == nullptr || row < 0 || row >= state->rows.count()) return;
  // The list keeps its selection and focus by index: the rows after the deleted one move
  // up, and their states with them.
  const int selected = list_selected_row(list);
  const int focused =
      static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  state->rows.erase(row);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  tell_count(list, *state);
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
  const ListState* state = state_of(list);
  return state == nullptr ? 0 : state->rows.count();
}

int list_selected_row(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void list_answer_display_info(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  const ListState* state = state_of(info.hdr.hwndFrom);
  if (state == nullptr || item.iItem < 0 || item.iItem >= state->rows.count() ||
      item.iSubItem < 0 || item.iSubItem >= kColumns) {
    return;
  }
  const std::wstring text = win32::widen(state->rows.cell(item.iItem, item.iSubItem));
  const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
  std::copy_n(text.begin(), n, item.pszText);
  item.pszText[n] = L'\0';
}

LRESULT list_find_typed_row(const NMLVFINDITEMW& find) {
  // Typing in the list selects the next row whose number (column 0) begins with what was
  // typed, as a list that keeps its own rows does with its labels.
  const ListState* state = state_of(find.hdr.hwndFrom);
  // Only rows the list has been told of can be chosen in it.
  const int count = state == nullptr ? 0 : std::min(state->rows.count(), state->shown.count);
  if (count == 0 || (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 ||
      find.lvfi.psz == nullptr) {
    return -1;
  }
  const ListRows* rows = &state->rows;
  const std::wstring typed = find.lvfi.psz;
  const bool whole = (find.lvfi.flags & LVFI_PARTIAL) == 0;
  auto begins = [&](int row) {
    const std::wstring label = win32::widen(rows->cell(row, 0));
    return whole ? label == typed : label.compare(0, typed.size(), typed) == 0;
  };
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
