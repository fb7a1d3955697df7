#include "app/library_handlers.h"

#include <utility>

#include "app/local_files_win32.h"
#include "app/process_values.h"
#include "app/program_directory.h"
#include "library/entry_form.h"
#include "library/import_handlers.h"
#include "library/library_listing.h"
#include "win32/code_page.h"

void bind_library_handlers(ExternalHandlers& handlers, std::shared_ptr<LibraryContext> context,
                           StartWebSearch start_web_search) {
  handlers.list_category = [context](WindowPort& w, const std::string& category) {
    list_category(w, *context, category);
  };
  handlers.move_entry_to_category = [context](WindowPort& w, const std::string& category) {
    move_entry_to_category(w, *context, category);
  };
  handlers.show_entry_menu = [](WindowPort& w) { show_entry_menu(w); };
  handlers.run_search = [context, web = std::move(start_web_search)](WindowPort& w) {
    run_search(w, *context, web);
  };
  handlers.import_sources = [context](WindowPort& w) { import_sources(w, *context); };
  handlers.select_import_scope = [](WindowPort& w, Control clicked) {
    select_import_scope(w, clicked);
  };
  handlers.choose_source_file = [context](WindowPort& w) { choose_source_file(w, *context); };
  handlers.add_manual_entry = [context](WindowPort& w) { add_manual_entry(w, *context); };
  handlers.show_star_choice = [](WindowPort& w) { show_star_choice(w); };
  handlers.show_type_choice = [](WindowPort& w) { show_type_choice(w); };
}

std::shared_ptr<LibraryContext> program_library_context() {
  static Win32LocalFiles files;
  auto context = std::make_shared<LibraryContext>();
  context->store_path = win32::narrow(program_directory()) + "\\Code.edb";
  context->files = &files;
  context->pending_file_name = [] { return pending_file_name.get(); };
  context->set_pending_file_name = [](const std::string& name) { pending_file_name.set(name); };
  return context;
}
