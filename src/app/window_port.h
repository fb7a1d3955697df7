#ifndef MOYAN_APP_WINDOW_PORT_H_
#define MOYAN_APP_WINDOW_PORT_H_

#include <string>

#include "app/controls.h"

// Message-box flags (the Windows MB_ values) and answers (the Windows button id minus one).
constexpr unsigned kBoxOk = 0x0;
constexpr unsigned kBoxYesNo = 0x4;
constexpr unsigned kBoxIconQuestion = 0x20;
constexpr unsigned kBoxIconInformation = 0x40;
constexpr unsigned kBoxSystemModal = 0x1000;
constexpr int kAnswerOk = 0;
constexpr int kAnswerCancel = 1;
constexpr int kAnswerYes = 5;
constexpr int kAnswerNo = 6;

// The caption of a box that is given none.
inline constexpr char kDefaultBoxCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";  // "信息："

// Everything a handler touches of MainWindow, its controls and the shell. Texts are GBK.
//
// The real implementation drives the window; tests use a fake. Result-list operations,
// control texts and check states may be called from worker threads: they are carried out
// by the window's thread while the caller waits, so the window's thread must never wait
// for a worker. message_box and start_process run on the calling thread.
class WindowPort {
 public:
  virtual ~WindowPort() = default;

  // Result list 超级列表框1 (rows and columns from 0).
  virtual void delete_all_rows() = 0;
  // Appends a row with an empty label and gives its index (the row count before the call).
  virtual int insert_row() = 0;
  // Column 0 is the row's label. A cell outside the list is left alone.
  virtual void set_cell_text(int row, int column, const std::string& text) = 0;
  // The text of a cell of any length; empty for a row that doesn't exist.
  virtual std::string cell_text(int row, int column) = 0;
  // An index that names no row changes nothing.
  virtual void delete_row(int row) = 0;
  virtual int row_count() = 0;
  // The first selected row, -1 when none.
  virtual int selected_row() = 0;
  // Repaints the list at once.
  virtual void redraw_list() = 0;

  // Texts of edit boxes, labels, check boxes and buttons.
  virtual std::string control_text(Control control) = 0;
  virtual void set_control_text(Control control, const std::string& text) = 0;
  virtual bool is_checked(Control control) = 0;
  virtual void set_checked(Control control, bool checked) = 0;
  // The text of a combo box's chosen item; empty when none is chosen.
  virtual std::string chosen_item_text(Control combo) = 0;
  // Opens a combo box's list (CB_SHOWDROPDOWN with 1).
  virtual void drop_down_list(Control combo) = 0;

  // Current page of 选择夹1, 0 to 2.
  virtual int current_page() = 0;
  virtual void set_current_page(int page) = 0;

  // Shows a hidden menu at the mouse position (3 pixels right and down); a chosen item
  // raises its event before this returns.
  virtual void pop_up_menu(PopupMenu menu) = 0;

  // MainWindow's own state, for the tray handlers.
  virtual bool is_minimised() = 0;
  virtual void set_window_visible(bool visible) = 0;
  virtual void restore_window() = 0;
  // Shows the notification-area icon with this tip, or changes the one already shown.
  virtual void set_tray_icon(const std::string& tip) = 0;

  // A box without owner, task-modal unless kBoxSystemModal is given; an empty caption
  // shows kDefaultBoxCaption. Returns the button id minus one.
  virtual int message_box(const std::string& text, unsigned flags,
                          const std::string& caption = std::string()) = 0;
  // The open-file dialog 通用对话框1 with a filter such as "Name（*.e）|*.e"; the full path
  // chosen, or empty when cancelled. It leaves the current directory on the file's folder.
  virtual std::string choose_open_file(const std::string& filter) = 0;
  // The folder browser with an edit box; the folder's path, or empty when cancelled.
  virtual std::string choose_folder(const std::string& title) = 0;
  // Asks the shell to open an address in the user's browser; the outcome is not checked.
  virtual void open_url(const std::string& address) = 0;
  // Starts a process with a command line in the normal window state and waits at most
  // wait_ms until it is ready for input. False when it could not be started.
  virtual bool start_process(const std::string& command_line, int wait_ms) = 0;
  // Lets the window's thread handle the messages waiting in its queue, until none is
  // waiting or the next one is the request to quit. Does nothing on another thread.
  virtual void run_pending_messages() = 0;
  // Closes MainWindow once the current handler has returned (a posted message).
  virtual void request_window_close() = 0;
  // Closes every open store.
  virtual void close_stores() = 0;
};

#endif  // MOYAN_APP_WINDOW_PORT_H_
