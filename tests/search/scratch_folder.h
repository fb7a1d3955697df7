#ifndef MOYAN_TESTS_SEARCH_SCRATCH_FOLDER_H_
#define MOYAN_TESTS_SEARCH_SCRATCH_FOLDER_H_

#include <memory>
#include <string>
#include <vector>

#include "app/web_parts.h"
#include "store/status.h"

// A folder of its own under the system's temporary folder, standing for the program's
// folder in tests of the program's web parts under Wine: an empty library in it, and
// removed with everything in it at the end.
class ScratchFolder {
 public:
  // `name`, followed by the process id, under the temporary folder.
  explicit ScratchFolder(const std::wstring& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }
  DiskFolder& folder() { return *folder_; }
  // Whether the empty library could be made, and why not.
  const Status& library_made() const { return library_made_; }
  // The names of the files in it, the library's own two included.
  std::vector<std::wstring> files() const;

 private:
  std::wstring path_;
  std::unique_ptr<DiskFolder> folder_;
  Status library_made_;
};

#endif  // MOYAN_TESTS_SEARCH_SCRATCH_FOLDER_H_
