#ifndef MOYAN_APP_RESULT_LIST_VIEW_H_
#define MOYAN_APP_RESULT_LIST_VIEW_H_

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/result_list.h"

// The result list 超级列表框1: a report-style list view without header, with full-row
// selection, grid lines and single selection, and the six columns of the layout.
//
// The list keeps no rows of its own (owner data): the program keeps them, as GBK texts,
// and the list asks for the cells it paints. A listing of a hundred thousand rows then
// costs the program's memory for their texts and a count change now and then, not six
// item messages per row, and the first rows show while the rest are still found. Rows
// appended below a full page may reach the list a moment later, in a burst (the count is
// what the list view charges for); the program's own count and texts are exact at once.
HWND create_result_list(HWND parent, int id, const RECT& place);

// Operations on it; texts are GBK. Carried out on the window's thread (workers reach them
// through the window's thread, see window_thread.h).
void list_delete_all_rows(HWND list);
int list_insert_row(HWND list);
void list_set_cell_text(HWND list, int row, int column, const std::string& text);
std::string list_cell_text(HWND list, int row, int column);
// Appends rows, each numbered in column 0 by the row count once it is there; gives the
// first one's index (-1 for none).
int list_append_numbered_rows(HWND list, const std::vector<ResultList::RowTexts>& rows);
void list_delete_row(HWND list, int row);
int list_row_count(HWND list);
int list_selected_row(HWND list);

// The list's questions to its parent window, which passes them here: the text of a cell
// to paint (LVN_GETDISPINFOW), and the row a typed prefix names (LVN_ODFINDITEMW).
void list_answer_display_info(NMLVDISPINFOW& info);
LRESULT list_find_typed_row(const NMLVFINDITEMW& find);

#endif  // MOYAN_APP_RESULT_LIST_VIEW_H_
