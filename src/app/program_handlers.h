#ifndef MOYAN_APP_PROGRAM_HANDLERS_H_
#define MOYAN_APP_PROGRAM_HANDLERS_H_

#include "ui/external_handlers.h"

// The larger handlers of the library, search and delivery parts, as the program binds them.
ExternalHandlers program_handlers();

#endif  // MOYAN_APP_PROGRAM_HANDLERS_H_
