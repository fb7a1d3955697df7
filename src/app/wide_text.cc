#include "app/wide_text.h"

#include <windows.h>

#include <climits>

namespace {
constexpr UINT kGbk = 936;
}

std::wstring widen(const std::string& gbk) {
  if (gbk.empty() || gbk.size() > INT_MAX) return std::wstring();
  int size = static_cast<int>(gbk.size());
  int length = MultiByteToWideChar(kGbk, 0, gbk.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), size, wide.data(), length);
  return wide;
}

std::string narrow(const std::wstring& wide) {
  if (wide.empty() || wide.size() > INT_MAX) return std::string();
  int size = static_cast<int>(wide.size());
  int length = WideCharToMultiByte(kGbk, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string gbk(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kGbk, 0, wide.data(), size, gbk.data(), length, nullptr, nullptr);
  return gbk;
}
