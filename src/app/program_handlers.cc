#include "app/program_handlers.h"

#include "app/library_handlers.h"

ExternalHandlers program_handlers() {
  ExternalHandlers handlers;
  // Each part's handlers are bound here as that part joins the program.
  bind_library_handlers(handlers, program_library_context(), StartWebSearch());
  return handlers;
}
