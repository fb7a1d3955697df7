#ifndef MOYAN_APP_LOCAL_FILES_WIN32_H_
#define MOYAN_APP_LOCAL_FILES_WIN32_H_

#include <string>
#include <vector>

#include "library/local_files.h"

struct _WIN32_FIND_DATAW;

// The local disks over Win32, for the program and codelib. A path's native form is its
// UTF-16 text written as UTF-8, so a name that GBK can't hold is still listed, entered
// and read by its own characters; its GBK text shows those as "?" (the boundary's
// conversion). Every call is a wide one; a path too long for the plain form is passed
// with the "\\?\" prefix, so a deep tree is walked to its end.
class Win32LocalFiles : public LocalFiles {
 public:
  char separator() const override { return '\\'; }
  LocalPath path_from_text(const std::string& text) const override;
  LocalPath child(const LocalPath& folder, const LocalEntry& entry) const override;
  bool list_folder(const LocalPath& folder, std::vector<LocalEntry>* entries) override;
  bool find_entry(const LocalPath& path, LocalEntry* entry) override;
  ReadOutcome read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) override;
  bool write_file(const LocalPath& path, const ByteSet& bytes) override;
  std::vector<std::string> fixed_disks() override;
};

// An entry as the system's listing describes it. A reparse point is a link (which a walk
// must not follow) only when it stands for another place: a symbolic link, a junction, a
// mount point. Others, such as a cloud-sync program's folders and files, hold their own
// content.
LocalEntry local_entry_of(const _WIN32_FIND_DATAW& found);

#endif  // MOYAN_APP_LOCAL_FILES_WIN32_H_
