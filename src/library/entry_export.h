#ifndef MOYAN_LIBRARY_ENTRY_EXPORT_H_
#define MOYAN_LIBRARY_ENTRY_EXPORT_H_

#include <string>

#include "text/byte_set.h"

// The file an entry's attachment is handed out as: for an entry from the web (its address
// begins with "http://") the package exactly as stored, as a ".rar"; for an entry from
// disk the source file unpacked, as a ".e".
struct ExportedFile {
  std::string extension;  // ".rar" or ".e"
  ByteSet bytes;
  // False when a source file's attachment can't be unpacked (the file would be empty).
  bool sound = true;
};
ExportedFile exported_file_of(const ByteSet& attachment, const std::string& address);

#endif  // MOYAN_LIBRARY_ENTRY_EXPORT_H_
