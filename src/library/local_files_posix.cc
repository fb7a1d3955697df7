// The local disks over POSIX: names and paths are the file system's bytes (UTF-8).
#include "library/local_files_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <memory>

#include "text/gbk_unicode.h"

namespace {

// GBK code of each character of the Basic Multilingual Plane, 0 where GBK has none.
const std::vector<uint16_t>& gbk_of_unicode() {
  static const std::vector<uint16_t> table = [] {
    std::vector<uint16_t> t(0x10000, 0);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        int32_t cp = gbk_pair_to_unicode(static_cast<unsigned char>(lead),
                                         static_cast<unsigned char>(trail));
        if (cp > 0 && cp < 0x10000 && t[static_cast<size_t>(cp)] == 0) {
          t[static_cast<size_t>(cp)] = static_cast<uint16_t>(lead << 8 | trail);
        }
      }
    }
    return t;
  }();
  return table;
}

// The character at `at` and its length in bytes; -1 for a byte that begins none.
int32_t next_utf8(std::string_view text, size_t at, size_t* length) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  *length = 1;
  if (first < 0x80) return first;
  size_t n = first >= 0xF0 && first <= 0xF4 ? 4 : first >= 0xE0 ? 3 : first >= 0xC2 ? 2 : 0;
  if (n == 0 || first > 0xF4 || at + n > text.size()) return -1;
  int32_t cp = first & (0xFF >> (n + 1));
  for (size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return -1;
    cp = cp << 6 | (byte(at + i) & 0x3F);
  }
  // Overlong forms and surrogates begin no character.
  const int32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < least[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return -1;
  *length = n;
  return cp;
}

DateTime local_time_of(time_t when) {
  struct tm parts = {};
  if (localtime_r(&when, &parts) == nullptr) return DateTime{kEarliestDateTimeDays};
  return make_date_time(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                        parts.tm_min, parts.tm_sec);
}

// An entry from lstat, the way a directory listing describes it: a link as a link (and
// as a folder when it leads to one), its own size and time.
bool describe(const std::string& native, const std::string& native_name, LocalEntry* entry) {
  struct stat own = {};
  if (lstat(native.c_str(), &own) != 0) return false;
  entry->native_name = native_name;
  entry->name = utf8_to_gbk(native_name);
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

}  // namespace

std::string utf8_to_gbk(std::string_view utf8) {
  const std::vector<uint16_t>& table = gbk_of_unicode();
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    size_t length = 1;
    const int32_t cp = next_utf8(utf8, i, &length);
    i += length;
    if (cp >= 0 && cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp >= 0x80 && cp < 0x10000 && table[static_cast<size_t>(cp)] != 0) {
      out += static_cast<char>(table[static_cast<size_t>(cp)] >> 8);
      out += static_cast<char>(table[static_cast<size_t>(cp)] & 0xFF);
    } else {
      out += '?';
    }
  }
  return out;
}

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
    if (describe(joined_path(folder.native, '/', name), name, &entry)) {
      entries->push_back(std::move(entry));
    }
  }
  return true;
}

bool PosixLocalFiles::find_entry(const LocalPath& path, LocalEntry* entry) {
  return !path.native.empty() && describe(path.native, last_part(path.native), entry);
}

ReadOutcome PosixLocalFiles::read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) {
  *bytes = ByteSet();
  if (path.native.empty()) return ReadOutcome::kUnreadable;
  CloseFd file{open(path.native.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat facts = {};
  if (file.fd < 0 || fstat(file.fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
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
  CloseFd file{open(path.native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)};
  if (file.fd < 0) return false;
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
