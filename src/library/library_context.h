#ifndef MOYAN_LIBRARY_LIBRARY_CONTEXT_H_
#define MOYAN_LIBRARY_LIBRARY_CONTEXT_H_

#include <functional>
#include <string>

#include "library/local_files.h"
#include "library/pacing.h"

// Whether an import runs on the window's thread (a second press of 图形按钮2 then stops it
// instead of starting another), and whether it has been asked to stop.
struct ImportState {
  bool running = false;
  bool stop_requested = false;
};

// What the library's handlers work with besides the window: where the library file is,
// the local disks, the process-wide `pending_file_name`, and their own state.
struct LibraryContext {
  // The library file: the program directory followed by "\Code.edb".
  std::string store_path;
  LocalFiles* files = nullptr;
  // `pending_file_name`: the name, without folder, of the file last chosen for the entry
  // form. Kept by the program (it outlives every handler).
  std::function<std::string()> pending_file_name;
  std::function<void(const std::string&)> set_pending_file_name;
  // The name the form last chose, in both forms: the form reads the file by its native
  // form while `pending_file_name` still holds that text, so a name GBK can't spell (which
  // reads "?" there) is read by its own characters.
  LocalPath pending_file;
  Pacing pacing;
  ImportState import;
};

#endif  // MOYAN_LIBRARY_LIBRARY_CONTEXT_H_
