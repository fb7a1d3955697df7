#include "app/program_handlers.h"

#include "app/library_handlers.h"
#include "app/web_parts.h"
#include "search/delivery.h"

ExternalHandlers program_handlers() {
  ExternalHandlers handlers;
  // Each part's handlers are bound here as that part joins the program.
  bind_library_handlers(handlers, program_library_context(), StartWebSearch());
  handlers.open_selected_entry = [](WindowPort& window) {
    open_selected_entry(window, program_web_services());
  };
  return handlers;
}
