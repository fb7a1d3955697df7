#include "win32/code_page.h"

#include <windows.h>

#include <climits>
#include <cstddef>

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

size_t widen_into(std::string_view gbk, wchar_t* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return 0;
  // Every GBK character is one UTF-16 unit: cut the text after capacity - 1 characters,
  // never inside one, so the conversion always fits.
  size_t take = 0;
  for (size_t characters = 0; take < gbk.size() && characters < capacity - 1; ++characters) {
    size_t width = static_cast<unsigned char>(gbk[take]) >= 0x80 ? 2 : 1;
    if (take + width > gbk.size() || take + width > INT_MAX) break;
    take += width;
  }
  int length = take == 0 ? 0
                         : MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(take), out,
                                               static_cast<int>(capacity - 1));
  if (length < 0) length = 0;
  out[length] = L'\0';
  return static_cast<size_t>(length);
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
