#ifndef MOYAN_APP_SHELL_ACTIONS_H_
#define MOYAN_APP_SHELL_ACTIONS_H_

#include <windows.h>

#include <string>

#include "ui/dialogs.h"

// The one message box: no owner, task-modal unless system-modal is asked for, caption
// "信息：" when none is given. Returns the button id minus one.
int show_message_box(const std::string& text, unsigned flags, const std::string& caption);

// Asks the shell to "open" an address in the normal window state; the owner is a top-level
// window titled "Microsoft Internet Explorer" when one exists. The outcome is not checked.
void shell_open_url(const std::string& address);

// Starts a process in the normal window state and waits at most wait_ms for it to be
// ready for input.
bool shell_start_process(const std::string& command_line, int wait_ms);

// The open-file dialog with a filter "Description|pattern|...": the chosen full path, or
// empty when cancelled. Its native form is the wide path as UTF-8, as the Win32 disks
// take it.
ChosenPath choose_open_file(HWND owner, const std::string& filter);

// The folder browser with an edit box: the chosen folder's path, or empty.
ChosenPath choose_folder(HWND owner, const std::string& title);

// Moves the window with the mouse, as a press on its caption does.
void drag_by_caption(HWND window);

#endif  // MOYAN_APP_SHELL_ACTIONS_H_
