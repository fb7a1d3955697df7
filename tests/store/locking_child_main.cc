// The main of a test program whose tests start LockingProcess children: a child does its
// work instead of running the tests.
#include <gtest/gtest.h>

#include "locking_process.h"

int main(int argc, char** argv) {
  if (std::optional<int> status = run_locking_child()) return *status;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
