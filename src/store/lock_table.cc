#include "store/lock_table.h"

#include "store/platform_file.h"

LockTable::~LockTable() {
  for (auto& [range, held] : held_) {
    if (held.system) file_->unlock(range.first, range.second);
  }
}

bool LockTable::wait_for_system_lock(int64_t offset, int64_t length) {
  const int64_t deadline = monotonic_ms() + kLockWaitMs;
  for (;;) {
    if (file_->try_lock(offset, length)) return true;
    if (monotonic_ms() >= deadline) return false;
    sleep_ms(1);
  }
}

bool LockTable::lock(int64_t offset, int64_t length, bool wait) {
  if (offset < 0 || length < 1) return false;
  Range range(offset, length);
  auto same = held_.find(range);
  if (same != held_.end()) {
    ++same->second.count;
    return true;
  }
  // A system lock of ours that covers the range makes a second system call needless
  // (and on Windows it would fail); one that overlaps it only in part can't be split.
  int64_t end = offset + length;
  for (auto& [other, held] : held_) {
    if (!held.system) continue;
    int64_t other_end = other.first + other.second;
    if (other.first <= offset && end <= other_end) {
      ++held.dependents;
      Held inner;
      inner.count = 1;
      inner.cover = other;
      held_.emplace(range, inner);
      return true;
    }
    if (other.first < end && offset < other_end) return false;
  }
  const bool had = wait ? wait_for_system_lock(offset, length) : file_->try_lock(offset, length);
  if (!had) return false;
  Held held;
  held.count = 1;
  held.system = true;
  held_.emplace(range, held);
  return true;
}

void LockTable::unlock(int64_t offset, int64_t length) {
  auto it = held_.find(Range(offset, length));
  if (it == held_.end() || it->second.count == 0) return;
  --it->second.count;
  release_if_unused(it);
}

void LockTable::release_if_unused(std::map<Range, Held>::iterator it) {
  Held& held = it->second;
  if (held.count > 0 || held.dependents > 0) return;
  if (held.system) {
    file_->unlock(it->first.first, it->first.second);
    held_.erase(it);
    return;
  }
  Range cover = held.cover;
  held_.erase(it);
  auto outer = held_.find(cover);
  if (outer != held_.end()) {
    --outer->second.dependents;
    release_if_unused(outer);
  }
}
