#ifndef MOYAN_APP_PROGRAM_ENTRY_H_
#define MOYAN_APP_PROGRAM_ENTRY_H_

// Starts the program: creates MainWindow, runs its message loop until the window is gone,
// and returns the exit code, 0.
int program_entry();

#endif  // MOYAN_APP_PROGRAM_ENTRY_H_
