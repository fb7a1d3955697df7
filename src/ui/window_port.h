#ifndef MOYAN_UI_WINDOW_PORT_H_
#define MOYAN_UI_WINDOW_PORT_H_

#include <string>

#include "ui/control_values.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/message_pump.h"
#include "ui/result_list.h"

// Everything a handler touches of MainWindow, its controls and the shell. The real one
// drives the window (src/app); tests use a fake (tests/ui). Code that needs only a part
// takes that part: a ResultList, ControlValues, Dialogs or MessagePump.
class WindowPort : public ResultList, public ControlValues, public Dialogs, public MessagePump {
 public:
  virtual ~WindowPort() = default;

  // MainWindow's own state, for the tray handlers.
  virtual bool is_minimised() = 0;
  virtual void set_window_visible(bool visible) = 0;
  virtual void restore_window() = 0;
  // `set_tray_icon`: shows the notification-area icon with this tip, or changes the one
  // already shown.
  virtual void set_tray_icon(const std::string& tip) = 0;

  // `request_window_close`: closes MainWindow once the current handler has returned (a
  // posted message).
  virtual void request_window_close() = 0;
  // `store_close_all`: closes every open store.
  virtual void close_stores() = 0;
};

#endif  // MOYAN_UI_WINDOW_PORT_H_
