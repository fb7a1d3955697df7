#ifndef MOYAN_APP_MAIN_WINDOW_PORT_H_
#define MOYAN_APP_MAIN_WINDOW_PORT_H_

#include <memory>

#include "app/window_port.h"

class MainWindow;

// The handlers' view of the real MainWindow.
std::unique_ptr<WindowPort> make_main_window_port(MainWindow& window);

#endif  // MOYAN_APP_MAIN_WINDOW_PORT_H_
