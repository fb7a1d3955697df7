// On Linux a path is the file system's bytes (UTF-8), used as they are; texts on the
// command line are UTF-8 and become GBK, the library's texts.
#include <climits>
#include <cstdlib>
#include <memory>

#include "codelib.h"
#include "library/local_files_posix.h"
#include "text/gbk_unicode.h"

std::string platform_text_to_utf8(const std::string& text) {
  return text;
}

std::string platform_text_to_gbk(const std::string& text) {
  return utf8_to_gbk(text);
}

LocalFiles& platform_files() {
  static PosixLocalFiles files;
  return files;
}

LocalPath platform_path(const std::string& path) {
  // Whole, as the program's folder browser gives it: entries keep their file's full path.
  std::unique_ptr<char, decltype(&std::free)> whole(realpath(path.c_str(), nullptr), std::free);
  const std::string full = whole ? std::string(whole.get()) : path;
  return {utf8_to_gbk(full), full};
}
