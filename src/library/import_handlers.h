#ifndef MOYAN_LIBRARY_IMPORT_HANDLERS_H_
#define MOYAN_LIBRARY_IMPORT_HANDLERS_H_

#include <string>

#include "library/library_context.h"
#include "ui/window_port.h"

// The import group on the management page.

// A click on 选择框5, 选择框3 or 选择框4: when the clicked box is now checked, the other two
// are unchecked. At most one scope is checked; none may be.
void select_import_scope(WindowPort& window, Control clicked);

// `import_sources`: by the checked scope, fills the entry form from one file, imports one
// folder with its subfolders (asked for with the folder browser), or every fixed disk
// (then says "添加完成!"). While an import runs its progress shows in the reserved area, and
// a second press of 图形按钮2 stops it; what it stored stays. A library that can't be
// opened is said there too, and nothing is walked.
void import_sources(WindowPort& window, LibraryContext& context);

// A path cut for the progress line: its last part after "……" when it is long.
std::string shown_path(const std::string& path);

#endif  // MOYAN_LIBRARY_IMPORT_HANDLERS_H_
