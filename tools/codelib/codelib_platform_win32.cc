// On Windows paths and the system's messages are GBK texts inside the program.
#include "codelib.h"
#include "win32/code_page.h"

std::string platform_text_to_utf8(const std::string& text) {
  return win32::narrow_utf8(win32::widen(text));
}
