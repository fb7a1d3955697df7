#include "app/program_entry.h"

#include <windows.h>

#include <cstdlib>

#include "app/fatal_error.h"
#include "app/main_window.h"
#include "app/main_window_port.h"
#include "app/process_values.h"
#include "app/program_handlers.h"

int program_entry() {
  return run_program(default_platform());
}

int run_program(WindowPlatform platform) {
  std::atexit(release_globals);
  std::unique_ptr<MainWindow> window = MainWindow::create(std::move(platform));
  if (!window) show_fatal_error(std::nullopt, "载入启动窗口失败");
  MainWindowPort port(*window);
  window->start(port, program_handlers(port));
  MainWindow::run_message_loop();
  return 0;
}
