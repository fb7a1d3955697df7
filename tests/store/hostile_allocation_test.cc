// A hostile file declares fields and records of nearly 2 GB in a file of a few hundred
// bytes: nothing the store does with it may allocate what the file can't back.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "store_test_support.h"

namespace {

std::atomic<bool> watching{false};
std::atomic<size_t> largest{0};

}  // namespace

// The replaced operators pair with each other; GCC can't see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
  if (watching.load(std::memory_order_relaxed) && size > largest.load()) largest = size;
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
  std::free(p);
}

namespace {

class HostileAllocation : public StoreTest {};

constexpr int32_t kHuge = 0x7FFFFF00;

TEST_F(HostileAllocation, DeclaredWidthsChooseNoAllocation) {
  // 188 bytes: header, one field entry, no records; the text field is nearly 2 GB wide.
  struct Case {
    const char* name;
    std::vector<TestField> fields;
    int32_t count;
  };
  const Case cases[] = {
      {"wide text, no records", {{"t", 10, 4, kHuge}}, 0},
      {"wide text, count beyond the file", {{"t", 10, 4, kHuge}}, 5},
      {"chains, no records", {{"t", 10, 12, kHuge}, {"d", 11, 4, 0}, {"n", 12, 8, 0}}, 0},
  };
  for (const Case& c : cases) {
    write_file(path("h.edb"), store_file_bytes(c.fields, kHuge + 16, c.count));
    write_file(path("h.EDT"), companion_bytes());
    largest = 0;
    watching = true;
    bool opened = store_open(path("h.edb"));
    for (int n : {0, 1, 6}) {
      go_to_record(n);
      for (const TestField& f : c.fields) {
        read_field(f.name);
        write_field(f.name, std::string("x"));
        write_field(f.name, ByteSet("x", 1));
        stored_text_of(f.name, "x");
      }
    }
    go_first();
    find_record([] { return false; });
    store_close();
    watching = false;
    EXPECT_TRUE(opened) << c.name;
    EXPECT_LT(largest.load(), size_t{1} << 20) << c.name;
  }
}

}  // namespace
