// The out-of-memory text is built without the heap. This program replaces operator new to
// count what the code under test asks of it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "app/fatal_error.h"

namespace {
thread_local bool counting = false;
thread_local int allocations = 0;
}  // namespace

// The replacement pairs malloc with free itself; GCC, seeing both, would take free on memory
// from operator new for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}

namespace {

TEST(OutOfMemoryText, IsTheFatalBoxTextOfTheAllocationMessage) {
  for (size_t bytes : {size_t{0}, size_t{100}, size_t{1} << 31, SIZE_MAX}) {
    EXPECT_EQ(std::string(allocation_failure_text(bytes).view()),
              fatal_error_text(std::nullopt, allocation_failure_message(bytes)))
        << bytes << " bytes";
  }
}

TEST(OutOfMemoryText, IsBuiltWithoutTheHeap) {
  allocations = 0;
  counting = true;
  FixedText text = allocation_failure_text(SIZE_MAX);
  counting = false;
  EXPECT_EQ(allocations, 0) << "building the out-of-memory text allocated";
  EXPECT_GT(text.size, 0u);
  EXPECT_LT(text.size, text.bytes.size()) << "the longest text fills its buffer";
}

}  // namespace
