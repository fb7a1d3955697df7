#include "app/main_window_port.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "app/main_window.h"
#include "app/result_list.h"
#include "app/shell_actions.h"
#include "win32/code_page.h"
#include "app/window_messages.h"

namespace {

std::string window_text(HWND hwnd) {
  if (hwnd == nullptr) return std::string();
  int length = GetWindowTextLengthW(hwnd);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return win32::narrow(std::wstring(buffer.data(), static_cast<size_t>(got > 0 ? got : 0)));
}

// Everything that reads or changes the window goes through run(): on the window's thread
// at once, from a worker by a sent message.
class MainWindowPort : public WindowPort {
 public:
  explicit MainWindowPort(MainWindow& window) : window_(window) {}

  void delete_all_rows() override {
    run([&] { list_delete_all_rows(list()); });
  }
  int insert_row() override {
    int row = -1;
    run([&] { row = list_insert_row(list()); });
    return row;
  }
  void set_cell_text(int row, int column, const std::string& text) override {
    run([&] { list_set_cell_text(list(), row, column, text); });
  }
  std::string cell_text(int row, int column) override {
    std::string text;
    run([&] { text = list_cell_text(list(), row, column); });
    return text;
  }
  void delete_row(int row) override {
    run([&] { list_delete_row(list(), row); });
  }
  int row_count() override {
    int count = 0;
    run([&] { count = list_row_count(list()); });
    return count;
  }
  int selected_row() override {
    int row = -1;
    run([&] { row = list_selected_row(list()); });
    return row;
  }
  void redraw_list() override {
    run([&] { RedrawWindow(list(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
  }

  std::string control_text(Control control) override {
    std::string text;
    run([&] { text = window_text(window_.control(control)); });
    return text;
  }
  void set_control_text(Control control, const std::string& text) override {
    run([&] { SetWindowTextW(window_.control(control), win32::widen(text).c_str()); });
  }
  bool is_checked(Control control) override {
    bool checked = false;
    run([&] {
      checked = SendMessageW(window_.control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
    });
    return checked;
  }
  void set_checked(Control control, bool checked) override {
    run([&] {
      SendMessageW(window_.control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    });
  }
  std::string chosen_item_text(Control combo) override {
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
  void drop_down_list(Control combo) override {
    run([&] { SendMessageW(window_.control(combo), CB_SHOWDROPDOWN, 1, 0); });
  }

  int current_page() override {
    int page = 0;
    run([&] { page = window_.current_page(); });
    return page;
  }
  void set_current_page(int page) override {
    run([&] { window_.set_current_page(page); });
  }
  void pop_up_menu(PopupMenu menu) override {
    run([&] { window_.pop_up_menu(menu); });
  }

  bool is_minimised() override {
    bool minimised = false;
    run([&] { minimised = IsIconic(window_.hwnd()) != 0; });
    return minimised;
  }
  void set_window_visible(bool visible) override {
    run([&] { ShowWindow(window_.hwnd(), visible ? SW_SHOW : SW_HIDE); });
  }
  void restore_window() override {
    run([&] { ShowWindow(window_.hwnd(), SW_RESTORE); });
  }
  void set_tray_icon(const std::string& tip) override {
    run([&] { window_.tray().show(tip); });
  }

  int message_box(const std::string& text, unsigned flags, const std::string& caption) override {
    return show_message_box(text, flags, caption);
  }
  std::string choose_open_file(const std::string& filter) override {
    std::string path;
    run([&] { path = ::choose_open_file(window_.hwnd(), filter); });
    return path;
  }
  std::string choose_folder(const std::string& title) override {
    std::string path;
    run([&] { path = ::choose_folder(window_.hwnd(), title); });
    return path;
  }
  void open_url(const std::string& address) override {
    if (window_.platform().open_url) window_.platform().open_url(address);
  }
  bool start_process(const std::string& command_line, int wait_ms) override {
    return shell_start_process(command_line, wait_ms);
  }
  void run_pending_messages() override {
    if (GetCurrentThreadId() != window_.thread_id()) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
      if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) break;
      if (msg.message == WM_QUIT) {  // keep the request to quit for the loop
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
      if (root != nullptr && IsDialogMessageW(root, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  void request_window_close() override {
    if (HWND hwnd = window_.hwnd()) PostMessageW(hwnd, kMsgCloseRequest, 0, 0);
  }
  void close_stores() override {
    if (window_.platform().close_stores) window_.platform().close_stores();
  }

 private:
  HWND list() const { return window_.control(Control::超级列表框1); }
  template <typename F>
  void run(F&& task) {
    window_.run_on_window_thread(std::function<void()>(std::forward<F>(task)));
  }

  MainWindow& window_;
};

}  // namespace

std::unique_ptr<WindowPort> make_main_window_port(MainWindow& window) {
  return std::make_unique<MainWindowPort>(window);
}
