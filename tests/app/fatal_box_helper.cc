// Shows the fatal error box for the window test: "fatal_box_helper [code] message", or
// "fatal_box_helper out-of-memory BYTES", which asks for more memory than the process can have.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/fatal_error.h"

int main(int argc, char** argv) {
  // The fatal path must not run the normal end's clean-up.
  std::atexit([] { std::_Exit(3); });
  if (argc == 3 && std::strcmp(argv[1], "out-of-memory") == 0) {
    // Kept where the compiler must store it: an allocation whose memory goes unused may be
    // left out.
    static void* volatile memory;
    memory = ::operator new(static_cast<size_t>(std::strtoull(argv[2], nullptr, 10)));
    return memory != nullptr ? 1 : 2;
  }
  if (argc == 3) show_fatal_error(std::atoi(argv[1]), argv[2]);
  show_fatal_error(std::nullopt, argc == 2 ? argv[1] : "");
}
