#ifndef MOYAN_SEARCH_PROGRAM_FOLDER_H_
#define MOYAN_SEARCH_PROGRAM_FOLDER_H_

#include <string>

#include "text/byte_set.h"

// The program's own folder: the library beside the program, and the files that delivery
// writes there. Texts are GBK. Called from several threads at once.
class ProgramFolder {
 public:
  virtual ~ProgramFolder() = default;
  // The full name of the library file, Code.edb, in the program folder.
  virtual std::string library_path() = 0;
  // The full name of the file `name` in the program folder (on Windows the program
  // directory, "\" and the name).
  virtual std::string file_path(const std::string& name) = 0;
  // Whether `name` can be written as a file of its own in the program folder: a plain file
  // name whose full path is within what the program's file calls take (fits_in_folder).
  virtual bool takes_file_name(const std::string& name) = 0;
  // Writes `bytes` as the file `name` in the program folder, replacing a file of that
  // name. A name the folder doesn't take is refused. False when nothing could be written.
  virtual bool write_file(const std::string& name, const ByteSet& bytes) = 0;
};

#endif  // MOYAN_SEARCH_PROGRAM_FOLDER_H_
