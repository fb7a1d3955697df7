#ifndef MOYAN_UI_RESULT_LIST_H_
#define MOYAN_UI_RESULT_LIST_H_

#include <array>
#include <string>
#include <vector>

// The result list 超级列表框1, shared by listing, local search, harvesting and delivery,
// always by column index: 0 row number, 1 title, 2 size, 3 rating, 4 update time, 5 the
// entry's address (zero wide, never seen). Rows and columns count from 0; texts are GBK.
//
// Every operation may be called from a worker thread: the window's thread carries it out
// while the worker waits, so the window's thread must never wait for a worker.
class ResultList {
 public:
  // The texts of columns 1 to 5 of one row: title, size, rating, update time, address.
  using RowTexts = std::array<std::string, 5>;

  virtual void delete_all_rows() = 0;
  // Appends a row with an empty label and gives its index (the row count before the call).
  virtual int insert_row() = 0;
  // Column 0 is the row's label. A cell outside the list is left alone.
  virtual void set_cell_text(int row, int column, const std::string& text) = 0;
  // The text of a cell of any length; empty for a row that doesn't exist.
  virtual std::string cell_text(int row, int column) = 0;
  // Appends a whole row in one step: column 0 gets the list's row count once the row is
  // there (its 1-based number), columns 1 to 5 the given texts. The same as insert_row and
  // six set_cell_text calls, but a worker's row costs one trip to the window's thread, and
  // no other change of the list can fall between the row's insertion and its number.
  // Gives the row's index.
  virtual int append_numbered_row(const RowTexts& texts) = 0;
  // Appends whole rows in one step, each as append_numbered_row would (numbered by the
  // count once it is there), so a long listing hands its rows over a batch at a time
  // instead of a trip per row. A list that keeps no rows of its own appends them one by one.
  virtual void append_numbered_rows(const std::vector<RowTexts>& rows) {
    for (const RowTexts& row : rows) append_numbered_row(row);
  }
  // An index that names no row changes nothing.
  virtual void delete_row(int row) = 0;
  virtual int row_count() = 0;
  // The first selected row, -1 when none.
  virtual int selected_row() = 0;
  // Repaints the list at once.
  virtual void redraw_list() = 0;

 protected:
  ~ResultList() = default;
};

#endif  // MOYAN_UI_RESULT_LIST_H_
