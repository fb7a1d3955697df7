// Memory requests that can't be met end the program through the fatal error box, as the
// program has no way to go on without the memory. Linked into each program file itself (a
// replacement operator new must not sit in a library the linker may pass over).
#include <cstdlib>
#include <new>

#include "app/fatal_error.h"

void* operator new(size_t size) {
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  show_out_of_memory(size);
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
