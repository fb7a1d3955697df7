// POSIX layer: open-file-description locks (Linux >= 3.15), which belong to the open file
// and not to the process, so two opens in one process exclude each other as two handles do
// on Windows.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "store/platform_file.h"

namespace {

int fd_of(intptr_t handle) {
  return static_cast<int>(handle);
}

bool set_lock(int fd, short type, int64_t offset, int64_t length) {
  struct flock fl = {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = static_cast<off_t>(offset);
  fl.l_len = static_cast<off_t>(length);
  fl.l_pid = 0;
  while (fcntl(fd, F_OFD_SETLK, &fl) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<PlatformFile> PlatformFile::open_existing(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<PlatformFile>(new PlatformFile(fd));
}

std::unique_ptr<PlatformFile> PlatformFile::create_new(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::unique_ptr<PlatformFile>(new PlatformFile(fd));
}

PlatformFile::~PlatformFile() {
  ::close(fd_of(handle_));
}

bool PlatformFile::read_at(int64_t offset, void* buffer, size_t size) {
  char* out = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t n = ::pread(fd_of(handle_), out, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    offset += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool PlatformFile::write_at(int64_t offset, const void* data, size_t size) {
  const char* in = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::pwrite(fd_of(handle_), in, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    in += n;
    offset += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

int64_t PlatformFile::size() {
  struct stat st;
  if (fstat(fd_of(handle_), &st) != 0) return -1;
  return st.st_size;
}

bool PlatformFile::truncate(int64_t size) {
  return ::ftruncate(fd_of(handle_), static_cast<off_t>(size)) == 0;
}

bool PlatformFile::flush() {
  return ::fsync(fd_of(handle_)) == 0;
}

bool PlatformFile::try_lock(int64_t offset, int64_t length) {
  return set_lock(fd_of(handle_), F_WRLCK, offset, length);
}

void PlatformFile::unlock(int64_t offset, int64_t length) {
  set_lock(fd_of(handle_), F_UNLCK, offset, length);
}

std::string full_path_name(const std::string& path) {
  if (path.empty()) return std::string();
  std::string joined;
  if (path[0] != '/') {
    std::vector<char> cwd(PATH_MAX);
    if (getcwd(cwd.data(), cwd.size()) == nullptr) return std::string();
    joined = cwd.data();
    joined += '/';
  }
  joined += path;
  // Lexical clean-up: drop empty and "." segments, let ".." remove the one before.
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    std::string segment = joined.substr(start, slash - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = slash + 1;
  }
  std::string full;
  for (const std::string& segment : segments) full += "/" + segment;
  return full.empty() ? "/" : full;
}

int64_t monotonic_ms() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void sleep_ms(int ms) {
  struct timespec ts = {ms / 1000, static_cast<long>(ms % 1000) * 1000000};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

namespace {

struct ThreadExit {
  void (*cleanup)(void*);
  void* data;
};

void run_thread_exit(void* p) {
  ThreadExit* exit = static_cast<ThreadExit*>(p);
  exit->cleanup(exit->data);
  delete exit;
}

}  // namespace

void at_thread_exit(void (*cleanup)(void*), void* data) {
  static pthread_key_t key = [] {
    pthread_key_t k;
    pthread_key_create(&k, run_thread_exit);
    return k;
  }();
  pthread_setspecific(key, new ThreadExit{cleanup, data});
}
