// Starts the skin as the program does, for the skin set-up tests: "skin_start_helper N..."
// runs apply_skin(N) for each number in turn, then ends with 0. It carries the library
// that writes down its calls (MOYAN_SKIN_CALL_LOG) in place of the shipped one.
#include <cstdlib>

#include "app/skin_setup.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) apply_skin(std::atoi(argv[i]));
  return 0;
}
