#ifndef MOYAN_APP_WINDOW_MESSAGES_H_
#define MOYAN_APP_WINDOW_MESSAGES_H_

#include <windows.h>

#include "app/control_window.h"

// Private messages of MainWindow and the runtime's controls.
constexpr UINT kMsgCloseRequest = WM_APP + 1;   // request_window_close: destroy when delivered
constexpr UINT kMsgTrayEvent = WM_APP + 2;      // the tray icon's callback; lParam = mouse message
constexpr UINT kMsgRunTask = WM_APP + 3;        // lParam = std::function<void()>*, sent by workers
constexpr UINT kMsgBeginDrag = WM_APP + 4;      // a control asks MainWindow to follow the mouse
constexpr UINT kMsgRunPostedTask = WM_APP + 5;  // lParam = std::function<void()>*, posted, owned

// Control ids: kFirstControlId + the Control value; menu items: kFirstMenuId + MenuCommand.
constexpr int kFirstControlId = 100;
constexpr int kFirstMenuId = 1000;

// WM_COMMAND notification of a picture box pressed with the left button.
constexpr WORD kPictureLeftDown = 0x7001;

// Asks the top-level window to be moved with the mouse, as a press on its caption would.
inline void ask_root_to_drag(HWND control) {
  SendMessageW(root_of(control), kMsgBeginDrag, 0, 0);
}

#endif  // MOYAN_APP_WINDOW_MESSAGES_H_
