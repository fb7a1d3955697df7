#include "app/program_entry.h"

#include <windows.h>

#include <cstdlib>

#include "app/fatal_error.h"
#include "app/main_window.h"
#include "app/process_values.h"
#include "app/program_handlers.h"

int program_entry() {
  std::atexit(release_globals);
  std::unique_ptr<MainWindow> window = MainWindow::create(default_platform(), program_handlers());
  if (!window) show_fatal_error(std::nullopt, "载入启动窗口失败");
  window->start();
  MainWindow::run_message_loop();
  return 0;
}
