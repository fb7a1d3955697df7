#ifndef MOYAN_SKIN_EXCLUSIVE_LOCK_H_
#define MOYAN_SKIN_EXCLUSIVE_LOCK_H_

#include <windows.h>

// Holds a slim reader/writer lock exclusively for its scope. Such a lock needs no set-up
// (SRWLOCK_INIT), so it may be taken from the library's thread notifications.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;
  ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK& lock_;
};

#endif  // MOYAN_SKIN_EXCLUSIVE_LOCK_H_
