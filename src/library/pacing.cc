// Compiled with UTF-8 literals: <chrono> holds a "µs" that GBK has no form for.
#include "library/pacing.h"

#include <chrono>

int64_t steady_milliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
