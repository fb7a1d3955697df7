#ifndef MOYAN_APP_PROGRAM_ENTRY_H_
#define MOYAN_APP_PROGRAM_ENTRY_H_

#include "app/main_window.h"

// Starts the program: creates MainWindow, runs its message loop until the window is gone,
// and returns the exit code, 0.
int program_entry();

// The same with the given view of the outside world (program_entry passes the real one;
// a test build of the program points the announcement elsewhere).
int run_program(WindowPlatform platform);

#endif  // MOYAN_APP_PROGRAM_ENTRY_H_
