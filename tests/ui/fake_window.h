#ifndef MOYAN_TESTS_UI_FAKE_WINDOW_H_
#define MOYAN_TESTS_UI_FAKE_WINDOW_H_

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ui/window_port.h"

// A WindowPort that keeps the window's state in memory and records what handlers asked of
// the shell. Thread-safe, so worker code can be run against it too.
class FakeWindow : public WindowPort {
 public:
  struct Box {
    std::string text;
    unsigned flags;
    std::string caption;
  };

  FakeWindow();

  void delete_all_rows() override;
  int insert_row() override;
  void set_cell_text(int row, int column, const std::string& text) override;
  int append_numbered_row(const RowTexts& texts) override;
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

  bool is_minimised() override;
  void set_window_visible(bool visible) override;
  void restore_window() override;
  void set_tray_icon(const std::string& tip) override;

  int message_box(const std::string& text, unsigned flags, const std::string& caption) override;
  ChosenPath choose_open_file(const std::string& filter) override;
  ChosenPath choose_folder(const std::string& title) override;
  void open_url(const std::string& address) override;
  bool start_process(const std::string& command_line, int wait_ms) override;
  void run_pending_messages() override;
  void request_window_close() override;
  void close_stores() override;

  // Test side: what happened, in order ("open_url <address>", "close_stores", ...).
  std::vector<std::string> log() const;
  std::vector<Box> boxes() const;
  std::vector<std::vector<std::string>> rows() const;
  bool visible() const;
  int tray_icons() const;
  std::string tray_tip() const;
  // Controls are visible until hidden.
  bool control_visible(Control control) const;
  // How often a handler let the window's messages run.
  int pumps() const;
  // Whether the caption shows a passing text, which gives way to the title after a while.
  bool caption_passing() const;

  // Test side: the state a handler finds.
  void set_minimised(bool minimised);
  void select_row(int row);
  void set_chosen_item(Control combo, const std::string& text);
  void answer_boxes_with(int answer);
  // The dialogs' answers; the native form is the text unless given (a name GBK can't
  // spell has one of its own).
  void answer_file_dialog_with(const std::string& path, const std::string& native = "");
  void answer_folder_dialog_with(const std::string& path, const std::string& native = "");
  // An event waiting in the queue: its handler runs at the next run_pending_messages (or
  // the one after `skip` more), on the thread that lets messages run.
  void post_event(std::function<void()> handler, int skip = 0);

 private:
  void record(std::string entry);

  mutable std::mutex mutex_;
  std::vector<std::vector<std::string>> rows_;
  int selected_ = -1;
  std::map<Control, std::string> texts_;
  std::map<Control, bool> checks_;
  std::map<Control, std::string> chosen_;
  int page_ = 0;
  bool minimised_ = false;
  bool visible_ = true;
  int tray_icons_ = 0;
  std::string tray_tip_;
  std::vector<Box> boxes_;
  int box_answer_ = kAnswerOk;
  ChosenPath file_answer_;
  ChosenPath folder_answer_;
  std::vector<std::string> log_;
  std::map<Control, bool> visible_controls_;
  struct Waiting {
    std::function<void()> handler;
    int skip;
  };
  std::deque<Waiting> waiting_;
  int pumps_ = 0;
  bool caption_passing_ = false;
};

#endif  // MOYAN_TESTS_UI_FAKE_WINDOW_H_
