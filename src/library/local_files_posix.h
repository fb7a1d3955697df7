#ifndef MOYAN_LIBRARY_LOCAL_FILES_POSIX_H_
#define MOYAN_LIBRARY_LOCAL_FILES_POSIX_H_

#include <string>
#include <vector>

#include "library/local_files.h"

// The local disks over POSIX (codelib on Linux, the host's tests). Names are the file
// system's bytes, taken as UTF-8; their GBK text writes a character GBK can't hold (or a
// byte that begins no UTF-8 character) as "?" (utf8_to_gbk). Symbolic links are the links
// a walk doesn't follow. A path longer than the system follows (PATH_MAX) can't be
// described: its entry says so. There are no drives: fixed_disks() is empty.
class PosixLocalFiles : public LocalFiles {
 public:
  char separator() const override { return '/'; }
  LocalPath path_from_text(const std::string& text) const override;
  LocalPath child(const LocalPath& folder, const LocalEntry& entry) const override;
  bool list_folder(const LocalPath& folder, std::vector<LocalEntry>* entries) override;
  bool find_entry(const LocalPath& path, LocalEntry* entry) override;
  ReadOutcome read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) override;
  bool write_file(const LocalPath& path, const ByteSet& bytes) override;
  std::vector<std::string> fixed_disks() override { return {}; }
};

#endif  // MOYAN_LIBRARY_LOCAL_FILES_POSIX_H_
