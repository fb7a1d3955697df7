#ifndef MOYAN_LIBRARY_LOCAL_FILES_H_
#define MOYAN_LIBRARY_LOCAL_FILES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "text/byte_set.h"
#include "text/date_time.h"

// A file or folder on a local disk as the library sees it: by two names. `text` is the
// program's own text (GBK) as it is shown and stored, a character GBK can't hold written
// as "?"; `native` is how the system reaches it, so a name with such characters is still
// listed, entered and read.
struct LocalPath {
  std::string text;
  std::string native;
};

// One entry of a folder, as the system's directory listing gives it.
struct LocalEntry {
  std::string name;         // GBK, as LocalPath::text
  std::string native_name;  // as LocalPath::native
  bool is_folder = false;
  // A link to another place: a symbolic link, a junction, a mount point. It may lead back
  // up the tree or to another disk, so a walk never goes through it. Other reparse points
  // (folders and files kept by cloud-sync programs) hold their own content and are not
  // links.
  bool is_link = false;
  // The name has characters GBK can't hold: `name` shows each as "?", so two such names
  // may read alike there, and only `native_name` tells them apart.
  bool name_lossy = false;
  // False when the system lists the name but can't describe the entry (a folder that may
  // be read but not searched, a path longer than the system follows): `problem` says why,
  // size and time are unknown, and `is_folder` says only whether it may be a folder.
  bool examined = true;
  std::string problem;  // the system's sentence, in the platform's text
  int64_t size = 0;     // bytes
  DateTime last_write;  // local time, to the second
};

// How reading a whole file went.
enum class ReadOutcome {
  kRead,
  kUnreadable,  // missing, refused by the system, or a failing disk
  kTooLarge,    // larger than the caller's bound: not read at all
};

// The local disks as the library's import and entry form use them. Implemented over the
// system (Win32 in the program, POSIX for codelib on Linux and tests) and by fakes.
class LocalFiles {
 public:
  virtual ~LocalFiles() = default;

  // The separator between a folder and a name in LocalPath::text ("\" on Windows).
  virtual char separator() const = 0;
  // A path given as text (from a dialog, a command line or the disk list), reached as it
  // reads.
  virtual LocalPath path_from_text(const std::string& text) const = 0;
  // An entry of a folder: the folder's path, a separator unless the folder ends with one,
  // and the entry's name.
  virtual LocalPath child(const LocalPath& folder, const LocalEntry& entry) const = 0;

  // The entries of a folder, "." and ".." among them when the system lists them, in the
  // order the system gives them. False when the folder can't be listed.
  virtual bool list_folder(const LocalPath& folder, std::vector<LocalEntry>* entries) = 0;
  // The directory entry of one file or folder. False when it can't be found.
  virtual bool find_entry(const LocalPath& path, LocalEntry* entry) = 0;
  // The whole content of a file, unless it is larger than `limit` bytes. A relative path
  // is read from the process's current folder. Only a plain file is opened: a pipe, a
  // device or a folder of that name is unreadable, and nothing waits for one.
  virtual ReadOutcome read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) = 0;
  // Writes a whole file, replacing a plain file of that name. False when it can't be
  // written, and when the name is a link or anything but a plain file: nothing is ever
  // written through a link to another place.
  virtual bool write_file(const LocalPath& path, const ByteSet& bytes) = 0;
  // The fixed disks, each as a letter and a colon ("C:"), in letter order.
  virtual std::vector<std::string> fixed_disks() = 0;
};

// Whether a text's last character (stepping whole GBK characters) is `c`: the second
// byte of a two-byte character never counts as a separator.
bool ends_with_character(const std::string& text, char c);
// folder + separator + name, without a second separator when the folder ends with one
// (a drive's root, "D:\").
std::string joined_path(const std::string& folder, char separator, const std::string& name);

#endif  // MOYAN_LIBRARY_LOCAL_FILES_H_
