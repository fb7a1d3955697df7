#ifndef MOYAN_TESTS_APP_WINDOW_DRIVER_H_
#define MOYAN_TESTS_APP_WINDOW_DRIVER_H_

#include <windows.h>

#include <functional>
#include <string>

// Helpers that drive real windows from a test, as a user would, without a person.

// Handles the thread's messages until done() is true or the time is up; gives done().
bool pump_until(const std::function<bool()>& done, int timeout_ms);
void pump_for(int ms);

// A left press and release at (2, 2) of a control, delivered through the message queue.
void click(HWND control);
// A left press alone.
void press(HWND control);

// Runs the thread's message loop until it ends (WM_QUIT) or the time is up; true when it
// ended by itself.
bool run_message_loop_for(int timeout_ms);

// Drops what a closed window left in the queue (its request to quit among it).
void drain_messages();

// Waits at most timeout_ms for a visible top-level window of this process with that class
// ("#32770" for message boxes and dialogs, "#32768" for pop-up menus).
HWND wait_for_process_window(const wchar_t* window_class, int timeout_ms);
// The same for a window of another process.
HWND wait_for_window_of(DWORD process_id, const wchar_t* window_class, int timeout_ms);

std::wstring window_text_of(HWND hwnd);

// Saves what the screen shows of a window as a BMP file (for looking at a layout).
bool save_window_picture(HWND hwnd, const std::wstring& path);

#endif  // MOYAN_TESTS_APP_WINDOW_DRIVER_H_
