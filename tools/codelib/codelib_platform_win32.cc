// On Windows paths, texts and the system's messages are GBK texts inside the program.
#include <windows.h>

#include "app/local_files_win32.h"
#include "codelib.h"
#include "win32/code_page.h"

std::string platform_text_to_utf8(const std::string& text) {
  return win32::narrow_utf8(win32::widen(text));
}

std::string platform_text_to_gbk(const std::string& text) {
  return text;
}

LocalFiles& platform_files() {
  static Win32LocalFiles files;
  return files;
}

LocalPath platform_path(const std::string& path) {
  // Whole, as the program's folder browser gives it: entries keep their file's full path.
  const std::wstring given = win32::widen(path);
  std::wstring full(32768, L'\0');
  const DWORD n =
      GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return platform_files().path_from_text(path);
  full.resize(n);
  return {win32::narrow(full), win32::narrow_utf8(full)};
}
