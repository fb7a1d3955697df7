#include "fake_window.h"

namespace {
constexpr int kColumns = 6;
}

FakeWindow::FakeWindow() {
  checks_[Control::选择框1] = true;
}

void FakeWindow::record(std::string entry) {
  log_.push_back(std::move(entry));
}

void FakeWindow::delete_all_rows() {
  std::lock_guard<std::mutex> hold(mutex_);
  rows_.clear();
  selected_ = -1;
}

int FakeWindow::insert_row() {
  std::lock_guard<std::mutex> hold(mutex_);
  rows_.emplace_back(kColumns);
  return static_cast<int>(rows_.size()) - 1;
}

void FakeWindow::set_cell_text(int row, int column, const std::string& text) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= kColumns) return;
  rows_[row][column] = text;
}

int FakeWindow::append_numbered_row(const RowTexts& texts) {
  std::lock_guard<std::mutex> hold(mutex_);
  std::vector<std::string>& row = rows_.emplace_back(kColumns);
  row[0] = std::to_string(rows_.size());
  for (size_t i = 0; i < texts.size(); ++i) row[i + 1] = texts[i];
  return static_cast<int>(rows_.size()) - 1;
}

std::string FakeWindow::cell_text(int row, int column) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= kColumns) {
    return std::string();
  }
  return rows_[row][column];
}

void FakeWindow::delete_row(int row) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_.erase(rows_.begin() + row);
  if (selected_ == row) selected_ = -1;
  if (selected_ > row) --selected_;
}

int FakeWindow::row_count() {
  std::lock_guard<std::mutex> hold(mutex_);
  return static_cast<int>(rows_.size());
}

int FakeWindow::selected_row() {
  std::lock_guard<std::mutex> hold(mutex_);
  return selected_;
}

void FakeWindow::redraw_list() {
  std::lock_guard<std::mutex> hold(mutex_);
  record("redraw_list");
}

std::string FakeWindow::control_text(Control control) {
  std::lock_guard<std::mutex> hold(mutex_);
  auto it = texts_.find(control);
  return it == texts_.end() ? std::string() : it->second;
}

void FakeWindow::set_control_text(Control control, const std::string& text) {
  std::lock_guard<std::mutex> hold(mutex_);
  texts_[control] = text;
  if (control == Control::kMainWindow) caption_passing_ = false;
}

void FakeWindow::show_passing_caption(const std::string& text) {
  std::lock_guard<std::mutex> hold(mutex_);
  texts_[Control::kMainWindow] = text;
  caption_passing_ = true;
}

bool FakeWindow::caption_passing() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return caption_passing_;
}

bool FakeWindow::is_checked(Control control) {
  std::lock_guard<std::mutex> hold(mutex_);
  auto it = checks_.find(control);
  return it != checks_.end() && it->second;
}

void FakeWindow::set_checked(Control control, bool checked) {
  std::lock_guard<std::mutex> hold(mutex_);
  checks_[control] = checked;
}

std::string FakeWindow::chosen_item_text(Control combo) {
  std::lock_guard<std::mutex> hold(mutex_);
  auto it = chosen_.find(combo);
  return it == chosen_.end() ? std::string() : it->second;
}

void FakeWindow::drop_down_list(Control combo) {
  std::lock_guard<std::mutex> hold(mutex_);
  record("drop_down_list " + std::to_string(static_cast<int>(combo)));
}

int FakeWindow::current_page() {
  std::lock_guard<std::mutex> hold(mutex_);
  return page_;
}

void FakeWindow::set_current_page(int page) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (page >= 0 && page <= 2) page_ = page;
}

void FakeWindow::pop_up_menu(PopupMenu menu) {
  std::lock_guard<std::mutex> hold(mutex_);
  record(menu == PopupMenu::kMainMenu ? "pop_up_menu main" : "pop_up_menu source");
}

bool FakeWindow::is_minimised() {
  std::lock_guard<std::mutex> hold(mutex_);
  return minimised_;
}

void FakeWindow::set_window_visible(bool visible) {
  std::lock_guard<std::mutex> hold(mutex_);
  visible_ = visible;
}

void FakeWindow::restore_window() {
  std::lock_guard<std::mutex> hold(mutex_);
  minimised_ = false;
  visible_ = true;
}

void FakeWindow::set_tray_icon(const std::string& tip) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (tray_icons_ == 0) tray_icons_ = 1;  // a second showing changes the one icon
  tray_tip_ = tip;
}

int FakeWindow::message_box(const std::string& text, unsigned flags, const std::string& caption) {
  std::lock_guard<std::mutex> hold(mutex_);
  boxes_.push_back({text, flags, caption.empty() ? std::string(kDefaultBoxCaption) : caption});
  record("message_box " + text);
  return box_answer_;
}

ChosenPath FakeWindow::choose_open_file(const std::string& filter) {
  std::lock_guard<std::mutex> hold(mutex_);
  record("choose_open_file " + filter);
  return file_answer_;
}

ChosenPath FakeWindow::choose_folder(const std::string& title) {
  std::lock_guard<std::mutex> hold(mutex_);
  record("choose_folder " + title);
  return folder_answer_;
}

void FakeWindow::open_url(const std::string& address) {
  std::lock_guard<std::mutex> hold(mutex_);
  record("open_url " + address);
}

bool FakeWindow::start_process(const std::string& command_line, int wait_ms) {
  std::lock_guard<std::mutex> hold(mutex_);
  record("start_process " + command_line + " " + std::to_string(wait_ms));
  return true;
}

void FakeWindow::run_pending_messages() {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard<std::mutex> hold(mutex_);
    ++pumps_;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
      if (it->skip-- > 0) {
        ++it;
        continue;
      }
      due.push_back(std::move(it->handler));
      it = waiting_.erase(it);
    }
  }
  // Outside the lock: a handler uses the window too.
  for (auto& handler : due) handler();
}

void FakeWindow::post_event(std::function<void()> handler, int skip) {
  std::lock_guard<std::mutex> hold(mutex_);
  waiting_.push_back({std::move(handler), skip});
}

int FakeWindow::pumps() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return pumps_;
}

void FakeWindow::set_control_visible(Control control, bool visible) {
  std::lock_guard<std::mutex> hold(mutex_);
  visible_controls_[control] = visible;
}

bool FakeWindow::control_visible(Control control) const {
  std::lock_guard<std::mutex> hold(mutex_);
  auto it = visible_controls_.find(control);
  return it == visible_controls_.end() || it->second;
}

void FakeWindow::request_window_close() {
  std::lock_guard<std::mutex> hold(mutex_);
  record("request_window_close");
}

void FakeWindow::close_stores() {
  std::lock_guard<std::mutex> hold(mutex_);
  record("close_stores");
}

std::vector<std::string> FakeWindow::log() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return log_;
}

std::vector<FakeWindow::Box> FakeWindow::boxes() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return boxes_;
}

std::vector<std::vector<std::string>> FakeWindow::rows() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return rows_;
}

bool FakeWindow::visible() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return visible_;
}

int FakeWindow::tray_icons() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return tray_icons_;
}

std::string FakeWindow::tray_tip() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return tray_tip_;
}

void FakeWindow::set_minimised(bool minimised) {
  std::lock_guard<std::mutex> hold(mutex_);
  minimised_ = minimised;
}

void FakeWindow::select_row(int row) {
  std::lock_guard<std::mutex> hold(mutex_);
  selected_ = row;
}

void FakeWindow::set_chosen_item(Control combo, const std::string& text) {
  std::lock_guard<std::mutex> hold(mutex_);
  chosen_[combo] = text;
}

void FakeWindow::answer_boxes_with(int answer) {
  std::lock_guard<std::mutex> hold(mutex_);
  box_answer_ = answer;
}

void FakeWindow::answer_file_dialog_with(const std::string& path, const std::string& native) {
  std::lock_guard<std::mutex> hold(mutex_);
  file_answer_ = {path, native.empty() ? path : native};
}

void FakeWindow::answer_folder_dialog_with(const std::string& path, const std::string& native) {
  std::lock_guard<std::mutex> hold(mutex_);
  folder_answer_ = {path, native.empty() ? path : native};
}
