#ifndef MOYAN_APP_RESULT_LIST_VIEW_H_
#define MOYAN_APP_RESULT_LIST_VIEW_H_

#include <windows.h>

#include <string>

// The result list 超级列表框1: a report-style list view without header, with full-row
// selection, grid lines and single selection, and the six columns of the layout.
HWND create_result_list(HWND parent, int id, const RECT& place);

// Operations on it; texts are GBK. They send messages to the list, so they may be called
// from any thread of the process (a worker waits while the window's thread carries them out).
void list_delete_all_rows(HWND list);
int list_insert_row(HWND list);
void list_set_cell_text(HWND list, int row, int column, const std::string& text);
std::string list_cell_text(HWND list, int row, int column);
void list_delete_row(HWND list, int row);
int list_row_count(HWND list);
int list_selected_row(HWND list);

#endif  // MOYAN_APP_RESULT_LIST_VIEW_H_
