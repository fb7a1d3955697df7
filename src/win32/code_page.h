#ifndef MOYAN_WIN32_CODE_PAGE_H_
#define MOYAN_WIN32_CODE_PAGE_H_

#include <cstddef>
#include <string>
#include <string_view>

// Texts inside the program are GBK; Windows is spoken to in UTF-16. Every conversion names
// code page 936 itself, so the program is right whatever the system's ANSI code page is.
namespace win32 {

// A byte pair that GBK does not define becomes U+FFFD, as the system converts it.
std::wstring widen(std::string_view gbk);
// The same into a caller's buffer, zero-terminated and cut to fit, without the heap: for
// the path where memory has run out. Returns the characters written before the zero.
size_t widen_into(std::string_view gbk, wchar_t* out, size_t capacity);
// Characters that GBK cannot hold become "?".
std::string narrow(std::wstring_view wide);
// Whether every character of `wide` has a GBK form (so narrow() loses nothing).
bool fits_gbk(std::wstring_view wide);

// UTF-8, for what a console or a file outside the program expects.
std::wstring widen_utf8(std::string_view utf8);
std::string narrow_utf8(std::wstring_view wide);

}  // namespace win32

#endif  // MOYAN_WIN32_CODE_PAGE_H_
