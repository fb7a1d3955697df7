#ifndef MOYAN_TESTS_STORE_LOCKING_PROCESS_H_
#define MOYAN_TESTS_STORE_LOCKING_PROCESS_H_

#include <cstdint>
#include <optional>
#include <string>

#include "child_process.h"

// Another program holding one byte lock on a library file, as a second opener does while
// it works on a record: this test program started again as a child, which opens the file,
// locks the byte and keeps it until released. The test program's main must call
// run_locking_child() first (locking_child_main.cc does).
class LockingProcess {
 public:
  // Starts the child and returns once it holds the lock (or has failed to).
  LockingProcess(const std::string& file, int64_t offset);
  // Releases the lock and waits for the child to end.
  ~LockingProcess();
  LockingProcess(const LockingProcess&) = delete;
  LockingProcess& operator=(const LockingProcess&) = delete;

  bool held() const { return held_; }

 private:
  std::string marker_;
  ChildProcess child_;
  bool held_ = false;
};

// The byte whose lock guards record n (1-based) of the library at lib.
int64_t record_lock_byte(const std::string& lib, int n);

// When this process was started as a LockingProcess's child: does the child's work and
// gives its exit status.
std::optional<int> run_locking_child();

#endif  // MOYAN_TESTS_STORE_LOCKING_PROCESS_H_
