#ifndef MOYAN_APP_MAIN_WINDOW_H_
#define MOYAN_APP_MAIN_WINDOW_H_

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/hidden_menus.h"
#include "app/tray_icon.h"
#include "app/window_controls.h"
#include "app/window_thread.h"
#include "ui/controls.h"
#include "ui/external_handlers.h"
#include "ui/window_port.h"
#include "win32/owned_handle.h"

// What MainWindow asks of the world outside it; tests put fakes in.
struct WindowPlatform {
  std::function<void(const std::string& address)> open_url;
  std::function<void()> close_stores;
  // Moves the window with the mouse (a press on the background, a label, a group box...).
  std::function<void(HWND window)> begin_drag;
  // Reads the announcement page (on a worker thread); none reads nothing, and 编辑框6 stays
  // empty.
  std::function<std::string()> read_announcement_page;
};
WindowPlatform default_platform();

// How long a passing text stays in the caption (a web search's result) before the
// window's title comes back: long enough to be read at a glance.
constexpr int kPassingCaptionMs = 5000;

// The program's only window, with every control of its layout. It turns the messages of
// the window and its controls into the events of the event map.
class MainWindow {
 public:
  // Creates the window, hidden, with all its controls; null when that fails.
  static std::unique_ptr<MainWindow> create(WindowPlatform platform);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // Binds the handlers' view of the window and the larger handlers; then raises the created
  // event, the position changed event once, and shows the window.
  void start(WindowPort& port, ExternalHandlers handlers);
  // Runs the thread's message loop until the window is gone; returns the quit code.
  static int run_message_loop();
  // Hands one message to its window, with the keyboard's walk between controls.
  static void dispatch(MSG& msg);

  HWND hwnd() const { return hwnd_; }
  bool exists() const { return hwnd_ != nullptr; }
  HWND control(Control name) const { return controls_[name]; }
  TrayIcon& tray() { return *tray_; }
  const TrayIcon& tray() const { return *tray_; }
  WindowPlatform& platform() { return platform_; }
  const WindowThread& window_thread() const { return thread_; }

  int current_page() const { return current_page_; }
  void set_current_page(int page);
  void set_background_colour(COLORREF colour);
  // The caption: a text that stays, or one that gives way to the window's title after the
  // passing caption's time (which starts afresh with each passing text).
  void set_caption(const std::string& text);
  void show_passing_caption(const std::string& text);
  void set_passing_caption_time(int ms) { passing_caption_ms_ = ms; }
  // Shows a hidden menu; a chosen item's handler runs before this returns.
  void pop_up_menu(PopupMenu menu);

 private:
  explicit MainWindow(WindowPlatform platform);
  static bool register_classes();
  bool create_window();
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  void on_tray_event(LPARAM lparam);
  void on_command(WPARAM wparam);
  LRESULT on_notify(NMHDR& header);
  void raise(Control control, int event);
  void position_changed();

  WindowPlatform platform_;
  WindowPort* port_ = nullptr;  // bound by start()
  ExternalHandlers handlers_;
  HWND hwnd_ = nullptr;
  WindowThread thread_;
  std::unique_ptr<TrayIcon> tray_;
  WindowControls controls_;
  HiddenMenus menus_;
  int current_page_ = kLibraryPage;
  int passing_caption_ms_ = kPassingCaptionMs;
  bool started_ = false;
  UINT taskbar_created_ = 0;
  win32::Brush background_;
  win32::OwnedIcon small_icon_, large_icon_;
};

// MainWindow's created event: finishes the window's set-up before it is shown.
void main_window_created(MainWindow& window);

#endif  // MOYAN_APP_MAIN_WINDOW_H_
