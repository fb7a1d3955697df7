// codelib on Windows: arguments arrive as wide text and become GBK paths through the
// program's one code-page conversion; what it prints is UTF-8.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "codelib.h"
#include "win32/code_page.h"

int wmain(int argc, wchar_t** argv) {
  // Bytes as they are: UTF-8 text and "\n" line ends on every platform.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::wstring_view arg(argv[i]);
    // A library's path is a GBK text inside the program: a name GBK can't hold can't be
    // opened by it either.
    if (!win32::fits_gbk(arg)) {
      std::string line =
          "codelib: " + win32::narrow_utf8(arg) + ": the name has characters outside GBK\n";
      std::fwrite(line.data(), 1, line.size(), stderr);
      return 1;
    }
    args.push_back(win32::narrow(arg));
  }
  return run_codelib(args, stdout, stderr);
}
