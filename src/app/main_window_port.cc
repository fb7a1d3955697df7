#include "app/main_window_port.h"

#include <commctrl.h>

#include <vector>

#include "app/control_window.h"
#include "app/main_window.h"
#include "app/result_list_view.h"
#include "app/shell_actions.h"
#include "app/window_messages.h"
#include "win32/code_page.h"
#include "win32/message_pump.h"

HWND MainWindowPort::list() const {
  return window_.control(Control::超级列表框1);
}

void MainWindowPort::run(const std::function<void()>& task) {
  window_.window_thread().run(task);
}

void MainWindowPort::delete_all_rows() {
  run([&] { list_delete_all_rows(list()); });
}
int MainWindowPort::insert_row() {
  int row = -1;
  run([&] { row = list_insert_row(list()); });
  return row;
}
void MainWindowPort::set_cell_text(int row, int column, const std::string& text) {
  run([&] { list_set_cell_text(list(), row, column, text); });
}
int MainWindowPort::append_numbered_row(const RowTexts& texts) {
  int row = -1;
  run([&] { row = list_append_numbered_rows(list(), {texts}); });
  return row;
}
void MainWindowPort::append_numbered_rows(const std::vector<RowTexts>& rows) {
  run([&] { list_append_numbered_rows(list(), rows); });
}
std::string MainWindowPort::cell_text(int row, int column) {
  std::string text;
  run([&] { text = list_cell_text(list(), row, column); });
  return text;
}
void MainWindowPort::delete_row(int row) {
  run([&] { list_delete_row(list(), row); });
}
int MainWindowPort::row_count() {
  int count = 0;
  run([&] { count = list_row_count(list()); });
  return count;
}
int MainWindowPort::selected_row() {
  int row = -1;
  run([&] { row = list_selected_row(list()); });
  return row;
}
void MainWindowPort::redraw_list() {
  run([&] { RedrawWindow(list(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
}

HWND MainWindowPort::window_of(Control control) const {
  return control == Control::kMainWindow ? window_.hwnd() : window_.control(control);
}

std::string MainWindowPort::control_text(Control control) {
  std::string text;
  run([&] { text = win32::narrow(window_text(window_of(control))); });
  return text;
}
void MainWindowPort::set_control_text(Control control, const std::string& text) {
  run([&] {
    if (control == Control::kMainWindow) {
      window_.set_caption(text);
    } else {
      SetWindowTextW(window_of(control), win32::widen(text).c_str());
    }
  });
}
void MainWindowPort::show_passing_caption(const std::string& text) {
  run([&] { window_.show_passing_caption(text); });
}
bool MainWindowPort::is_checked(Control control) {
  bool checked = false;
  run([&] { checked = SendMessageW(window_.control(control), BM_GETCHECK, 0, 0) == BST_CHECKED; });
  return checked;
}
void MainWindowPort::set_control_visible(Control control, bool visible) {
  run([&] { ShowWindow(window_.control(control), visible ? SW_SHOW : SW_HIDE); });
}
void MainWindowPort::set_checked(Control control, bool checked) {
  run([&] {
    SendMessageW(window_.control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  });
}
std::string MainWindowPort::chosen_item_text(Control combo) {
  std::string text;
  run([&] {
    HWND hwnd = window_.control(combo);
    auto index = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    auto length = SendMessageW(hwnd, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    text = win32::narrow(buffer.data());
  });
  return text;
}
void MainWindowPort::drop_down_list(Control combo) {
  run([&] { SendMessageW(window_.control(combo), CB_SHOWDROPDOWN, 1, 0); });
}
int MainWindowPort::current_page() {
  int page = 0;
  run([&] { page = window_.current_page(); });
  return page;
}
void MainWindowPort::set_current_page(int page) {
  run([&] { window_.set_current_page(page); });
}
void MainWindowPort::pop_up_menu(PopupMenu menu) {
  run([&] { window_.pop_up_menu(menu); });
}

int MainWindowPort::message_box(const std::string& text, unsigned flags,
                                const std::string& caption) {
  return show_message_box(text, flags, caption);
}
ChosenPath MainWindowPort::choose_open_file(const std::string& filter) {
  ChosenPath path;
  run([&] { path = ::choose_open_file(window_.hwnd(), filter); });
  return path;
}
ChosenPath MainWindowPort::choose_folder(const std::string& title) {
  ChosenPath path;
  run([&] { path = ::choose_folder(window_.hwnd(), title); });
  return path;
}
void MainWindowPort::open_url(const std::string& address) {
  if (window_.platform().open_url) window_.platform().open_url(address);
}
bool MainWindowPort::start_process(const std::string& command_line, int wait_ms) {
  return shell_start_process(command_line, wait_ms);
}

void MainWindowPort::run_pending_messages() {
  if (window_.window_thread().on_window_thread()) win32::run_pending_messages();
}

bool MainWindowPort::is_minimised() {
  bool minimised = false;
  run([&] { minimised = IsIconic(window_.hwnd()) != 0; });
  return minimised;
}
void MainWindowPort::set_window_visible(bool visible) {
  run([&] { ShowWindow(window_.hwnd(), visible ? SW_SHOW : SW_HIDE); });
}
void MainWindowPort::restore_window() {
  run([&] { ShowWindow(window_.hwnd(), SW_RESTORE); });
}
void MainWindowPort::set_tray_icon(const std::string& tip) {
  run([&] { window_.tray().show(tip); });
}
void MainWindowPort::request_window_close() {
  if (HWND hwnd = window_.hwnd()) PostMessageW(hwnd, kMsgCloseRequest, 0, 0);
}
void MainWindowPort::close_stores() {
  if (window_.platform().close_stores) window_.platform().close_stores();
}
