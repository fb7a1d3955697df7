#include "win32/code_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

TEST(CodePage, GbkRoundTripsThroughUtf16) {
  struct Case {
    std::string gbk;
    std::wstring wide;
  };
  const Case cases[] = {
      {"", L""},
      {"abc", L"abc"},
      {"墨砚工坊V1.0", L"墨砚工坊V1.0"},
      {"信息：", L"信息："},
      {"★☆", L"★☆"},
      {"公告首｛", L"公告首｛"},
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},  // lengths, not terminators
  };
  for (const Case& c : cases) {
    EXPECT_EQ(win32::widen(c.gbk), c.wide) << "widening \"" << c.gbk << "\"";
    EXPECT_EQ(win32::narrow(c.wide), c.gbk) << "narrowing to \"" << c.gbk << "\"";
  }
}

TEST(CodePage, WidenIntoAFixedBufferCutsWholeCharacters) {
  struct Case {
    std::string gbk;
    size_t capacity;
    std::wstring expect;
  };
  const Case cases[] = {
      {"分配 12 字节内存失败!", 64, L"分配 12 字节内存失败!"},
      {"分配", 2, L"分"},  // a GBK byte pair gives one character; one place for the zero
      {"分配", 3, L"分配"},
      {"a分", 2, L"a"},
      {"ab", 1, L""},
      {"", 8, L""},
  };
  for (const Case& c : cases) {
    wchar_t buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    size_t written = win32::widen_into(c.gbk, buffer, c.capacity);
    EXPECT_EQ(std::wstring(buffer, written), c.expect) << "\"" << c.gbk << "\" into " << c.capacity;
    EXPECT_EQ(buffer[written], L'\0') << "not terminated: \"" << c.gbk << "\"";
    EXPECT_LT(written, c.capacity) << "wrote past the buffer";
  }
}

TEST(CodePage, CharactersOutsideGbkAreMarked) {
  const std::wstring korean = L"\uD55C";  // 한: no GBK form
  EXPECT_FALSE(win32::fits_gbk(korean)) << "a Hangul syllable has no GBK form";
  EXPECT_EQ(win32::narrow(korean), "?") << "the system puts \"?\" for it";
  EXPECT_TRUE(win32::fits_gbk(L"源码.e"));
  EXPECT_TRUE(win32::fits_gbk(L""));
}

TEST(CodePage, Utf8RoundTrips) {
  const std::wstring wide = L"库.edb \uD55C";
  const std::string utf8 = "\xE5\xBA\x93.edb \xED\x95\x9C";
  EXPECT_EQ(win32::narrow_utf8(wide), utf8);
  EXPECT_EQ(win32::widen_utf8(utf8), wide);
}

}  // namespace
