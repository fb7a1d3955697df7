#ifndef MOYAN_APP_EVENT_MAP_H_
#define MOYAN_APP_EVENT_MAP_H_

#include "ui/controls.h"
#include "ui/external_handlers.h"
#include "ui/window_port.h"

// The events that controls raise.
enum class ControlEvent {
  kClicked,         // image button, push button, check box (after it changed itself)
  kLeftButtonDown,  // a picture box with a press handler
  kDoubleClicked,   // the result list
  kRightClicked,    // the result list
  kItemChosen,      // a combo box
};

// Runs the handler bound to a control's event. False when the event has no binding.
bool dispatch_control_event(WindowPort& window, const ExternalHandlers& handlers, Control control,
                            ControlEvent event);

// Runs the handler of a menu item.
void dispatch_menu_command(WindowPort& window, const ExternalHandlers& handlers,
                           MenuCommand command);

// The category that a category button lists; empty for any other control.
const char* category_of_button(Control control);

#endif  // MOYAN_APP_EVENT_MAP_H_
