#ifndef MOYAN_APP_LIBRARY_HANDLERS_H_
#define MOYAN_APP_LIBRARY_HANDLERS_H_

#include <memory>

#include "library/library_context.h"
#include "search/run_search.h"
#include "ui/external_handlers.h"

// Binds the library's handlers (listing and moving, the list's menu, the search button,
// the entry form, the import) to their events, over one context that they share and keep
// alive. The search button's web branch calls `start_web_search`.
void bind_library_handlers(ExternalHandlers& handlers, std::shared_ptr<LibraryContext> context,
                           StartWebSearch start_web_search);

// The program's own context: the library beside the program, the local disks over Win32,
// the process-wide `pending_file_name`.
std::shared_ptr<LibraryContext> program_library_context();

#endif  // MOYAN_APP_LIBRARY_HANDLERS_H_
