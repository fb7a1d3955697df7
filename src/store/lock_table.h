#ifndef MOYAN_STORE_LOCK_TABLE_H_
#define MOYAN_STORE_LOCK_TABLE_H_

#include <cstdint>
#include <map>
#include <utility>

class PlatformFile;

// The byte-range locks one open store holds on one file, counted so that an operation may
// take a lock the same store already holds (or one inside a range it holds) without
// conflicting with itself. A lock held by another opener is waited for, up to
// kLockWaitMs, before the request gives up.
class LockTable {
 public:
  static constexpr int kLockWaitMs = 2000;

  explicit LockTable(PlatformFile* file) : file_(file) {}
  ~LockTable();
  LockTable(const LockTable&) = delete;
  LockTable& operator=(const LockTable&) = delete;

  // With wait false, a lock held by another opener fails the request at once.
  bool lock(int64_t offset, int64_t length = 1, bool wait = true);
  void unlock(int64_t offset, int64_t length = 1);
  bool holds_any() const { return !held_.empty(); }

 private:
  using Range = std::pair<int64_t, int64_t>;  // offset, length
  struct Held {
    int count = 0;
    bool system = false;  // false: inside a system lock of this table
    Range cover;          // the system lock it lies in, when !system
    int dependents = 0;   // locks lying inside this one
  };
  bool wait_for_system_lock(int64_t offset, int64_t length);
  void release_if_unused(std::map<Range, Held>::iterator it);

  PlatformFile* file_;
  std::map<Range, Held> held_;
};

// One lock of a table, held from construction (when it could be had) to destruction, so
// every path out of an operation gives back what the operation took.
class ByteLock {
 public:
  ByteLock(LockTable* table, int64_t offset, int64_t length = 1, bool wait = true)
      : table_(table), offset_(offset), length_(length), held_(table->lock(offset, length, wait)) {}
  ~ByteLock() { release(); }
  ByteLock(const ByteLock&) = delete;
  ByteLock& operator=(const ByteLock&) = delete;

  bool held() const { return held_; }
  void release() {
    if (held_) table_->unlock(offset_, length_);
    held_ = false;
  }

 private:
  LockTable* table_;
  int64_t offset_;
  int64_t length_;
  bool held_;
};

#endif  // MOYAN_STORE_LOCK_TABLE_H_
