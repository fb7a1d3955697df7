#ifndef MOYAN_TESTS_NET_WORKING_SET_H_
#define MOYAN_TESTS_NET_WORKING_SET_H_

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>

// The memory this process holds now, and the most it has held since it started (bytes).
// Users link psapi.
inline PROCESS_MEMORY_COUNTERS process_memory() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters;
}
inline size_t working_set() {
  return process_memory().WorkingSetSize;
}

// The working set just before `call` and the most it reached while the call ran (sampled
// every millisecond).
struct MemoryDuring {
  size_t before;
  size_t peak;
};
template <typename Call>
MemoryDuring memory_during(Call&& call) {
  MemoryDuring memory{working_set(), 0};
  memory.peak = memory.before;
  std::atomic<bool> done{false};
  std::thread watch([&] {
    while (!done) {
      memory.peak = std::max(memory.peak, working_set());
      Sleep(1);
    }
  });
  call();
  done = true;
  watch.join();
  return memory;
}

#endif  // MOYAN_TESTS_NET_WORKING_SET_H_
