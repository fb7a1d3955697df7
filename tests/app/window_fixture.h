#ifndef MOYAN_TESTS_APP_WINDOW_FIXTURE_H_
#define MOYAN_TESTS_APP_WINDOW_FIXTURE_H_

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/main_window_port.h"
#include "window_driver.h"

// The real MainWindow with a recording platform: the addresses it opens are kept, and its
// move loop (which follows the real mouse) moves the window a little.
class WindowTest : public ::testing::Test {
 protected:
  // The window with the program's own platform (its stores, shell and announcement) in
  // place of the recording one.
  void open(WindowPlatform platform) {
    window_ = MainWindow::create(platform);
    ASSERT_TRUE(window_) << "MainWindow could not be created";
    port_ = std::make_unique<MainWindowPort>(*window_);
    window_->start(*port_, handlers_);
    pump_for(50);
  }

  void open() {
    WindowPlatform platform;
    platform.open_url = [this](const std::string& address) { urls_.push_back(address); };
    platform.begin_drag = [this](HWND hwnd) {
      ++drags_;
      RECT r;
      GetWindowRect(hwnd, &r);
      SetWindowPos(hwnd, nullptr, r.left + 7, r.top + 5, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    platform.read_announcement_page = read_announcement_;  // none: 编辑框6 stays empty
    open(std::move(platform));
  }

  void TearDown() override {
    window_.reset();
    port_.reset();
    drain_messages();
  }

  HWND control(Control name) { return window_->control(name); }
  WindowPort& port() { return *port_; }
  bool checked(Control name) {
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void show_page(int page) {
    window_->set_current_page(page);
    pump_for(100);
  }

  ExternalHandlers handlers_;
  std::function<std::string()> read_announcement_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<MainWindowPort> port_;
  std::vector<std::string> urls_;
  int drags_ = 0;
};

// A control's name for messages: its number in the layout.
inline std::string name_of(Control c) {
  return "control #" + std::to_string(static_cast<int>(c));
}

#endif  // MOYAN_TESTS_APP_WINDOW_FIXTURE_H_
