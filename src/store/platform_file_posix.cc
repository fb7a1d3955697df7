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
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "store/platform_file.h"

namespace {

std::string system_text(int error) {
  char buffer[256];
  // The GNU strerror_r gives its text back, possibly not in the buffer.
  return strerror_r(error, buffer, sizeof buffer);
}

Status failure(const std::string& what, const std::string& path, int error) {
  if (error == ENOENT || error == ENOTDIR) return Status::not_found(path, system_text(error));
  if (error == EEXIST) return Status::exists(path);
  return Status::io_error(what + " " + path, system_text(error));
}

class PosixFile final : public PlatformFile {
 public:
  PosixFile(int fd, std::string path, FileAccess access)
      : PlatformFile(std::move(path)), fd_(fd), access_(access) {}
  ~PosixFile() override { ::close(fd_); }

  Status read_up_to(int64_t offset, void* buffer, size_t size, size_t* got) override {
    char* out = static_cast<char*>(buffer);
    *got = 0;
    while (*got < size) {
      ssize_t n = ::pread(fd_, out + *got, size - *got, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return failure("read", path(), errno);
      if (n == 0) break;
      offset += n;
      *got += static_cast<size_t>(n);
    }
    return Status::ok();
  }

  Status write_at(int64_t offset, const void* data, size_t size) override {
    const char* in = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t n = ::pwrite(fd_, in, size, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return failure("write", path(), errno);
      if (n == 0) return Status::io_error("write " + path(), "nothing written");
      in += n;
      offset += n;
      size -= static_cast<size_t>(n);
    }
    return Status::ok();
  }

  Status size(int64_t* size) override {
    struct stat st;
    if (fstat(fd_, &st) != 0) return failure("read the size of", path(), errno);
    *size = st.st_size;
    return Status::ok();
  }

  Status truncate(int64_t size) override {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return failure("cut", path(), errno);
    return Status::ok();
  }

  Status flush() override {
    if (::fsync(fd_) != 0) return failure("flush", path(), errno);
    return Status::ok();
  }

  bool try_lock(int64_t offset, int64_t length) override {
    // A descriptor opened for reading only can hold only a shared lock.
    return set_lock(access_ == FileAccess::kReadOnly ? F_RDLCK : F_WRLCK, offset, length);
  }

  void unlock(int64_t offset, int64_t length) override { set_lock(F_UNLCK, offset, length); }

 private:
  bool set_lock(short type, int64_t offset, int64_t length) {
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0;
    while (fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
      if (errno != EINTR) return false;
    }
    return true;
  }

  int fd_;
  FileAccess access_;
};

class PosixFiles final : public FileOpener {
 public:
  Status open_existing(const std::string& path, FileAccess access,
                       std::unique_ptr<PlatformFile>* file) override {
    int flags = (access == FileAccess::kReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0) return failure("open", path, errno);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return Status::io_error("open " + path, "not a regular file");
    }
    file->reset(new PosixFile(fd, path, access));
    return Status::ok();
  }

  Status create_new(const std::string& path, std::unique_ptr<PlatformFile>* file) override {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return failure("create", path, errno);
    file->reset(new PosixFile(fd, path, FileAccess::kReadWrite));
    return Status::ok();
  }

  Status remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return failure("delete", path, errno);
    return Status::ok();
  }
};

}  // namespace

FileOpener& system_files() {
  static PosixFiles files;
  return files;
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

DateTime local_time_now() {
  const time_t now = time(nullptr);
  struct tm parts = {};
  if (localtime_r(&now, &parts) == nullptr) return DateTime{};
  return make_date_time(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                        parts.tm_min, parts.tm_sec);
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

// The thread's cleanups, last registered first.
struct ThreadExit {
  void (*cleanup)(void*);
  void* data;
  ThreadExit* earlier;
};

void run_thread_exit(void* p) {
  for (ThreadExit* exit = static_cast<ThreadExit*>(p); exit != nullptr;) {
    exit->cleanup(exit->data);
    delete std::exchange(exit, exit->earlier);
  }
}

}  // namespace

void at_thread_exit(void (*cleanup)(void*), void* data) {
  static pthread_key_t key = [] {
    pthread_key_t k;
    pthread_key_create(&k, run_thread_exit);
    return k;
  }();
  auto* earlier = static_cast<ThreadExit*>(pthread_getspecific(key));
  pthread_setspecific(key, new ThreadExit{cleanup, data, earlier});
}
