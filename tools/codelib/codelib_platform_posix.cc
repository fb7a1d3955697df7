// On Linux a path is the file system's bytes (UTF-8), used as they are.
#include "codelib.h"

std::string platform_text_to_utf8(const std::string& text) {
  return text;
}
