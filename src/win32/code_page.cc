#include "win32/code_page.h"

#include <windows.h>

#include <climits>

namespace win32 {
namespace {

constexpr UINT kGbk = 936;

std::wstring to_wide(UINT code_page, std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string from_wide(UINT code_page, std::wstring_view wide, BOOL* lossy) {
  if (wide.empty() || wide.size() > INT_MAX) return std::string();
  const int size = static_cast<int>(wide.size());
  // UTF-8 takes no default character: the flags must be zero and the pointer null.
  BOOL* used_default = code_page == CP_UTF8 ? nullptr : lossy;
  const int length =
      WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, used_default);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace

std::wstring widen(std::string_view gbk) {
  return to_wide(kGbk, gbk);
}

std::string narrow(std::wstring_view wide) {
  return from_wide(kGbk, wide, nullptr);
}

bool fits_gbk(std::wstring_view wide) {
  BOOL lossy = FALSE;
  from_wide(kGbk, wide, &lossy);
  return lossy == FALSE;
}

std::wstring widen_utf8(std::string_view utf8) {
  return to_wide(CP_UTF8, utf8);
}

std::string narrow_utf8(std::wstring_view wide) {
  return from_wide(CP_UTF8, wide, nullptr);
}

}  // namespace win32
