// Shows the fatal error box for the window test: "fatal_box_helper [code] message".
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/fatal_error.h"

int main(int argc, char** argv) {
  // The fatal path must not run the normal end's clean-up.
  std::atexit([] { std::_Exit(3); });
  if (argc == 3) show_fatal_error(std::atoi(argv[1]), argv[2]);
  show_fatal_error(std::nullopt, argc == 2 ? argv[1] : "");
}
