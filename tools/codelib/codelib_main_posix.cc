// codelib on Linux: arguments are the file system's bytes, passed on as they are.
#include <cstdio>
#include <string>
#include <vector>

#include "codelib.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return run_codelib(args, stdout, stderr);
}
