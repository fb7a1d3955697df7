#include "win32/system_error.h"

#include <string_view>

#include "win32/code_page.h"

namespace win32 {

std::string system_error_text(DWORD code) {
  wchar_t buffer[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
  std::wstring_view text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.remove_suffix(1);
  }
  if (text.empty()) return "error " + std::to_string(code);
  return narrow(text);
}

std::string last_error_text() {
  return system_error_text(GetLastError());
}

}  // namespace win32
