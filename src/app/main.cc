// The program file's entry: Windows calls WinMain, which runs program_entry.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "app/fatal_error.h"
#include "app/program_entry.h"

// Memory requests that can't be met end the program through the fatal error box, as the
// program has no way to go on without the memory.
void* operator new(size_t size) {
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  show_fatal_error(std::nullopt, allocation_failure_message(size));
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

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return program_entry();
}
