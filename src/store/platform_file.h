#ifndef MOYAN_STORE_PLATFORM_FILE_H_
#define MOYAN_STORE_PLATFORM_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "store/status.h"
#include "text/date_time.h"

// The little the store asks of the operating system: one opened file with positioned
// reads and writes and byte-range locks that conflict between any two opens (also two
// opens in one process). One implementation per platform; tests may put a double in front
// of it (set_file_opener). An opened file is used by one thread at a time (each thread
// opens its stores itself). Failures carry the system's own sentence.
class PlatformFile {
 public:
  explicit PlatformFile(std::string path) : path_(std::move(path)) {}
  virtual ~PlatformFile() = default;
  PlatformFile(const PlatformFile&) = delete;
  PlatformFile& operator=(const PlatformFile&) = delete;

  // The path it was opened by, for messages.
  const std::string& path() const { return path_; }

  // Exactly size bytes at offset; a file that ends first is an error.
  Status read_at(int64_t offset, void* buffer, size_t size);
  // Up to size bytes at offset, fewer only where the file ends; *got says how many. For
  // reads that may run past the end without asking the file's size first (a system call
  // of its own, and under Wine several).
  virtual Status read_up_to(int64_t offset, void* buffer, size_t size, size_t* got) = 0;
  virtual Status write_at(int64_t offset, const void* data, size_t size) = 0;
  virtual Status size(int64_t* size) = 0;
  virtual Status truncate(int64_t size) = 0;
  virtual Status flush() = 0;
  // Non-blocking; false while another opener holds a conflicting lock. A file opened for
  // reading only takes shared locks where the system tells them apart: they still keep
  // every writer out.
  virtual bool try_lock(int64_t offset, int64_t length) = 0;
  virtual void unlock(int64_t offset, int64_t length) = 0;

 private:
  std::string path_;
};

enum class FileAccess { kReadWrite, kReadOnly };

// Where the store gets its files: the system's, or a test's double in front of them.
class FileOpener {
 public:
  virtual ~FileOpener() = default;
  // An existing regular file, shared with every other opener for reading and writing;
  // never creates one. Not found: kNotFound; anything else the system refuses: kIoError.
  virtual Status open_existing(const std::string& path, FileAccess access,
                               std::unique_ptr<PlatformFile>* file) = 0;
  // A new file for reading and writing; kExists when there is one already, kNotFound when
  // its folder is missing.
  virtual Status create_new(const std::string& path, std::unique_ptr<PlatformFile>* file) = 0;
  // Deletes a file (one this program made and must take back).
  virtual Status remove(const std::string& path) = 0;
};

// The operating system's files.
FileOpener& system_files();
// The opener every store file goes through: the system's unless a test set another.
FileOpener& file_opener();
// Puts a double in front of the system's files, for every thread; null restores them.
void set_file_opener(FileOpener* opener);

inline Status open_existing_file(const std::string& path, FileAccess access,
                                 std::unique_ptr<PlatformFile>* file) {
  return file_opener().open_existing(path, access, file);
}
inline Status create_new_file(const std::string& path, std::unique_ptr<PlatformFile>* file) {
  return file_opener().create_new(path, file);
}
inline Status remove_file(const std::string& path) {
  return file_opener().remove(path);
}

// How path texts are stepped through: on Windows they are GBK texts, converted at the
// system's door, and a byte of 0x80 or above begins a two-byte character whose second
// byte may look like '\'. Elsewhere a path is the file system's own bytes (UTF-8 on
// Linux), where no byte of a character that isn't ASCII looks like an ASCII one.
#ifdef _WIN32
inline constexpr bool kPathsAreGbk = true;
#else
inline constexpr bool kPathsAreGbk = false;
#endif

// The local time now, to the second.
DateTime local_time_now();

// Bytes of records read under one lock when many records are read in a row (a scan). Each
// chunk costs a lock and an unlock: under Wine each is a round trip to its server, so
// Windows builds read larger chunks; elsewhere a chunk that stays in the processor's
// cache reads faster.
#ifdef _WIN32
inline constexpr int64_t kScanChunkBytes = int64_t{4} << 20;
#else
inline constexpr int64_t kScanChunkBytes = int64_t{1} << 20;
#endif

// A clock for bounded waits, in milliseconds from an arbitrary start.
int64_t monotonic_ms();
void sleep_ms(int ms);

// Calls cleanup(data) when the calling thread ends; cleanups registered by one thread run
// last registered first. Thread-local objects with destructors are not dependable on every
// platform (MinGW runs them after freeing their storage).
void at_thread_exit(void (*cleanup)(void*), void* data);

// The absolute, normalised form of a path; empty on failure.
std::string full_path_name(const std::string& path);

#endif  // MOYAN_STORE_PLATFORM_FILE_H_
