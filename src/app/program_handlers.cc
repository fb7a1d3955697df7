#include "app/program_handlers.h"

ExternalHandlers program_handlers() {
  ExternalHandlers handlers;
  // Each part's handlers are bound here as that part joins the program.
  return handlers;
}
