#ifndef MOYAN_APP_MAIN_WINDOW_H_
#define MOYAN_APP_MAIN_WINDOW_H_

#include <windows.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/controls.h"
#include "app/external_handlers.h"
#include "app/tray_icon.h"
#include "win32/owned_handle.h"
#include "app/window_port.h"

// What MainWindow asks of the world outside it; tests put fakes in.
struct WindowPlatform {
  std::function<void(const std::string& address)> open_url;
  std::function<void()> close_stores;
  // Moves the window with the mouse (a press on the background, a label, a group box...).
  std::function<void(HWND window)> begin_drag;
};
WindowPlatform default_platform();

// The program's only window, with every control of its layout.
class MainWindow {
 public:
  // Registers the window classes once per process. False when that fails.
  static bool register_classes();
  // Creates the window, hidden, with all its controls; null when that fails.
  static std::unique_ptr<MainWindow> create(WindowPlatform platform, ExternalHandlers handlers);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // The created event, then position changed once, then the window is shown.
  void start();
  // Runs the thread's message loop until the window is gone; returns the quit code.
  static int run_message_loop();

  HWND hwnd() const { return hwnd_; }
  bool exists() const { return hwnd_ != nullptr; }
  HWND control(Control name) const { return controls_[static_cast<int>(name)]; }
  WindowPort& port() { return *port_; }
  TrayIcon& tray() { return *tray_; }
  const TrayIcon& tray() const { return *tray_; }
  WindowPlatform& platform() { return platform_; }

  int current_page() const { return current_page_; }
  void set_current_page(int page);
  void set_background_colour(COLORREF colour);
  void pop_up_menu(PopupMenu menu);
  // Runs a task on the window's thread: at once there, else by a sent message while the
  // calling thread waits. Does nothing once the window is gone.
  void run_on_window_thread(const std::function<void()>& task);
  DWORD thread_id() const { return thread_id_; }

 private:
  MainWindow(WindowPlatform platform, ExternalHandlers handlers);
  bool create_window();
  bool create_controls();
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  void on_command(WPARAM wparam, LPARAM lparam);
  void on_notify(const NMHDR& header);
  void control_event(int id, int event);

  WindowPlatform platform_;
  ExternalHandlers handlers_;
  std::unique_ptr<WindowPort> port_;
  std::unique_ptr<TrayIcon> tray_;
  HWND hwnd_ = nullptr;
  // The window as workers see it: null once it is gone (they read it on their thread).
  std::atomic<HWND> task_target_{nullptr};
  DWORD thread_id_ = 0;
  std::array<HWND, kControlCount> controls_{};
  std::array<HWND, 3> pages_{};
  int current_page_ = 0;
  bool started_ = false;
  UINT taskbar_created_ = 0;
  win32::Brush background_;
  win32::Font bold_font_, huge_font_;
  win32::OwnedIcon small_icon_, large_icon_;
  win32::OwnedMenu source_menu_, main_menu_;
};

// MainWindow's created event: finishes the window's set-up before it is shown.
void main_window_created(MainWindow& window);

#endif  // MOYAN_APP_MAIN_WINDOW_H_
