#ifndef MOYAN_APP_PROGRAM_HANDLERS_H_
#define MOYAN_APP_PROGRAM_HANDLERS_H_

#include "ui/external_handlers.h"

#include "ui/window_port.h"

// The larger handlers of the library, search and delivery parts, as the program binds them
// for its one window, `window`.
ExternalHandlers program_handlers(WindowPort& window);

#endif  // MOYAN_APP_PROGRAM_HANDLERS_H_
