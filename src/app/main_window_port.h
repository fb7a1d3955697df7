#ifndef MOYAN_APP_MAIN_WINDOW_PORT_H_
#define MOYAN_APP_MAIN_WINDOW_PORT_H_

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/window_port.h"

class MainWindow;

// The handlers' view of the real MainWindow. Everything that reads or changes the window
// is carried out on the window's thread (a worker's call waits for it there).
class MainWindowPort : public WindowPort {
 public:
  explicit MainWindowPort(MainWindow& window) : window_(window) {}

  void delete_all_rows() override;
  int insert_row() override;
  void set_cell_text(int row, int column, const std::string& text) override;
  int append_numbered_row(const RowTexts& texts) override;
  void append_numbered_rows(const std::vector<RowTexts>& rows) override;
  std::string cell_text(int row, int column) override;
  void delete_row(int row) override;
  int row_count() override;
  int selected_row() override;
  void redraw_list() override;

  std::string control_text(Control control) override;
  void set_control_text(Control control, const std::string& text) override;
  void show_passing_caption(const std::string& text) override;
  bool is_checked(Control control) override;
  void set_checked(Control control, bool checked) override;
  void set_control_visible(Control control, bool visible) override;
  std::string chosen_item_text(Control combo) override;
  void drop_down_list(Control combo) override;
  int current_page() override;
  void set_current_page(int page) override;
  void pop_up_menu(PopupMenu menu) override;

  int message_box(const std::string& text, unsigned flags, const std::string& caption) override;
  ChosenPath choose_open_file(const std::string& filter) override;
  ChosenPath choose_folder(const std::string& title) override;
  void open_url(const std::string& address) override;
  bool start_process(const std::string& command_line, int wait_ms) override;

  void run_pending_messages() override;

  bool is_minimised() override;
  void set_window_visible(bool visible) override;
  void restore_window() override;
  void set_tray_icon(const std::string& tip) override;
  void request_window_close() override;
  void close_stores() override;

 private:
  HWND list() const;
  // A control's window; Control::kMainWindow is MainWindow itself (its caption).
  HWND window_of(Control control) const;
  void run(const std::function<void()>& task);

  MainWindow& window_;
};

#endif  // MOYAN_APP_MAIN_WINDOW_PORT_H_
