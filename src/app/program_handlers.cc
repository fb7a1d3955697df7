#include "app/program_handlers.h"

#include "app/library_handlers.h"
#include "app/web_parts.h"
#include "search/delivery.h"

ExternalHandlers program_handlers(WindowPort& window) {
  ExternalHandlers handlers;
  // Each part's handlers are bound here as that part joins the program. The search button's
  // web branch is the program's web search, into this window.
  bind_library_handlers(handlers, program_library_context(), program_web_search_starter(window));
  handlers.open_selected_entry = [](WindowPort& w) {
    open_selected_entry(w, program_web_services());
  };
  return handlers;
}
