// The local disks over POSIX: names and paths are the file system's bytes (UTF-8).
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include "library/local_files_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include "text/gbk_unicode.h"

namespace {

std::string system_text(int error) {
  char buffer[256];
  // The GNU strerror_r gives its text back, possibly not in the buffer.
  return strerror_r(error, buffer, sizeof buffer);
}

DateTime local_time_of(time_t when) {
  struct tm parts = {};
  if (localtime_r(&when, &parts) == nullptr) return DateTime{kEarliestDateTimeDays};
  return make_date_time(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                        parts.tm_min, parts.tm_sec);
}

// An entry from lstat, the way a directory listing describes it: a link as a link (and
// as a folder when it leads to one), its own size and time. False, with errno set, when
// lstat fails; the names are filled in either way.
bool describe(const std::string& native, const std::string& native_name, LocalEntry* entry) {
  entry->native_name = native_name;
  entry->name = utf8_to_gbk(native_name, &entry->name_lossy);
  struct stat own = {};
  if (lstat(native.c_str(), &own) != 0) return false;
  entry->is_link = S_ISLNK(own.st_mode);
  struct stat target = {};
  entry->is_folder = entry->is_link ? stat(native.c_str(), &target) == 0 && S_ISDIR(target.st_mode)
                                    : S_ISDIR(own.st_mode);
  entry->size = own.st_size;
  entry->last_write = local_time_of(own.st_mtime);
  return true;
}

std::string last_part(const std::string& native) {
  size_t end = native.find_last_not_of('/');
  if (end == std::string::npos) return native;
  size_t slash = native.find_last_of('/', end);
  return native.substr(slash == std::string::npos ? 0 : slash + 1,
                       end - (slash == std::string::npos ? 0 : slash + 1) + 1);
}

struct CloseFd {
  int fd;
  ~CloseFd() {
    if (fd >= 0) close(fd);
  }
};

// Opening never waits: a pipe without a writer, or a device, would hold the walk for ever.
constexpr int kOpenFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

}  // namespace

LocalPath PosixLocalFiles::path_from_text(const std::string& text) const {
  return {text, gbk_to_utf8(text)};
}

LocalPath PosixLocalFiles::child(const LocalPath& folder, const LocalEntry& entry) const {
  return {joined_path(folder.text, '/', entry.name),
          joined_path(folder.native, '/', entry.native_name)};
}

bool PosixLocalFiles::list_folder(const LocalPath& folder, std::vector<LocalEntry>* entries) {
  entries->clear();
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.native.c_str()), closedir);
  if (!dir) return false;
  while (const dirent* found = readdir(dir.get())) {
    const std::string name = found->d_name;
    LocalEntry entry;
    if (!describe(joined_path(folder.native, '/', name), name, &entry)) {
      // Listed but not described: kept, so that the walk can say what it couldn't see.
      entry.examined = false;
      entry.problem = system_text(errno);
      entry.is_folder = found->d_type == DT_DIR || found->d_type == DT_UNKNOWN;
    }
    entries->push_back(std::move(entry));
  }
  return true;
}

bool PosixLocalFiles::find_entry(const LocalPath& path, LocalEntry* entry) {
  return !path.native.empty() && describe(path.native, last_part(path.native), entry);
}

ReadOutcome PosixLocalFiles::read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) {
  *bytes = ByteSet();
  struct stat named = {};
  // Anything but a plain file is left unopened: opening a device may do something.
  if (path.native.empty() || stat(path.native.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) {
    return ReadOutcome::kUnreadable;
  }
  CloseFd file{open(path.native.c_str(), O_RDONLY | kOpenFlags)};
  struct stat facts = {};
  // The same plain file that was looked at: the name may have been replaced meanwhile.
  if (file.fd < 0 || fstat(file.fd, &facts) != 0 || !S_ISREG(facts.st_mode) ||
      facts.st_dev != named.st_dev || facts.st_ino != named.st_ino) {
    return ReadOutcome::kUnreadable;
  }
  if (facts.st_size > limit) return ReadOutcome::kTooLarge;
  // The size may change while the file is read: read what is there, up to the bound.
  // One byte more than the size, so that the end shows without growing the buffer.
  std::string data(static_cast<size_t>(facts.st_size) + 1, '\0');
  size_t have = 0;
  for (;;) {
    if (have == data.size()) {
      if (static_cast<int64_t>(data.size()) > limit) return ReadOutcome::kTooLarge;
      data.resize(data.size() + 4096);
    }
    ssize_t got = read(file.fd, data.data() + have, data.size() - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadOutcome::kUnreadable;
    if (got == 0) break;
    have += static_cast<size_t>(got);
  }
  if (static_cast<int64_t>(have) > limit) return ReadOutcome::kTooLarge;
  data.resize(have);
  *bytes = ByteSet(std::move(data));
  return ReadOutcome::kRead;
}

bool PosixLocalFiles::write_file(const LocalPath& path, const ByteSet& bytes) {
  // Not through a link at the name (O_NOFOLLOW), and cut only once the name is known to be
  // a plain file.
  CloseFd file{open(path.native.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | kOpenFlags, 0644)};
  struct stat facts = {};
  if (file.fd < 0 || fstat(file.fd, &facts) != 0 || !S_ISREG(facts.st_mode) ||
      ftruncate(file.fd, 0) != 0) {
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t wrote = write(file.fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  const int closed = close(file.fd);
  file.fd = -1;
  return closed == 0;
}
