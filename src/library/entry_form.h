#ifndef MOYAN_LIBRARY_ENTRY_FORM_H_
#define MOYAN_LIBRARY_ENTRY_FORM_H_

#include "library/library_context.h"
#include "ui/window_port.h"

// The entry form on the management page: an entry typed in by hand, its file chosen from
// disk.

// `show_star_choice` and `show_type_choice`: the chosen item of 组合框1 (组合框2) shown in
// 标签2 (标签3) after a blank.
void show_star_choice(WindowPort& window);
void show_type_choice(WindowPort& window);

// `choose_source_file`: asks for a ".e" file and fills the title, size and update time
// from it; the file's name becomes `pending_file_name`. Cancelling changes nothing.
void choose_source_file(WindowPort& window, LibraryContext& context);

// `add_manual_entry`: checks the form, refuses a title the library holds, and appends the
// entry with the file `pending_file_name` (read from the current folder) packed as its
// attachment. Says whether it was added; a file too large to read (kLargestSourceFile)
// adds nothing and is said.
void add_manual_entry(WindowPort& window, const LibraryContext& context);

// The largest file the form and the import read: a source file is a few megabytes at
// most, and in a 32-bit process a file, its packed copy and the store's copy must fit
// together in the address space several times over. A larger file is treated as one
// that can't be read.
inline constexpr int64_t kLargestSourceFile = int64_t{64} << 20;

#endif  // MOYAN_LIBRARY_ENTRY_FORM_H_
