#ifndef MOYAN_STORE_PLATFORM_FILE_H_
#define MOYAN_STORE_PLATFORM_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The little the store asks of the operating system: one opened file with positioned
// reads and writes and byte-range locks that conflict between any two opens (also two
// opens in one process). Paths are GBK texts. One implementation per platform. An opened
// file is used by one thread at a time (each thread opens its stores itself).
class PlatformFile {
 public:
  // Opens an existing regular file for reading and writing, shared with every other
  // opener; never creates one. Null on failure.
  static std::unique_ptr<PlatformFile> open_existing(const std::string& path);
  // Creates a new file; fails when one exists already.
  static std::unique_ptr<PlatformFile> create_new(const std::string& path);

  ~PlatformFile();
  PlatformFile(const PlatformFile&) = delete;
  PlatformFile& operator=(const PlatformFile&) = delete;

  // Exactly size bytes at offset, or false.
  bool read_at(int64_t offset, void* buffer, size_t size);
  bool write_at(int64_t offset, const void* data, size_t size);
  // Length of the file, -1 on failure.
  int64_t size();
  bool truncate(int64_t size);
  bool flush();
  // Non-blocking; false while another opener holds a conflicting lock.
  bool try_lock(int64_t offset, int64_t length);
  void unlock(int64_t offset, int64_t length);

 private:
  explicit PlatformFile(intptr_t handle) : handle_(handle) {}
  intptr_t handle_;
};

// A clock for bounded waits, in milliseconds from an arbitrary start.
int64_t monotonic_ms();
void sleep_ms(int ms);

// Calls cleanup(data) when the calling thread ends. Thread-local objects with destructors
// are not dependable on every platform (MinGW runs them after freeing their storage).
void at_thread_exit(void (*cleanup)(void*), void* data);

// The absolute, normalised form of a path; empty on failure.
std::string full_path_name(const std::string& path);

#endif  // MOYAN_STORE_PLATFORM_FILE_H_
