// GBK to Unicode by the one table: code page 936 as Windows defines it, on every platform.
#include <gtest/gtest.h>

#include "text/gbk_unicode.h"

#ifdef _WIN32
#include "win32/code_page.h"
#endif

namespace {

TEST(GbkUnicode, PairsAsCodePage936HasThem) {
  struct Case {
    unsigned char lead, trail;
    int32_t code_point;
  };
  const Case cases[] = {
      {0xB1, 0xEA, 0x6807},  // 标
      {0xA1, 0xA1, 0x3000},  // ideographic space
      {0x81, 0x40, 0x4E02},  // first code of GBK
      {0xFE, 0x4F, 0xFA29},
      // Codes that other converters leave out or give other characters.
      {0xA2, 0xE3, 0xE76C},
      {0xA6, 0xD9, 0xE78D},
      {0xA8, 0xBF, 0xE7C8},
      {0xFE, 0x50, 0xE815},
      {0xFE, 0xA0, 0xE864},
      // The three user-defined areas, each from its own start in the Private Use Area.
      {0xAA, 0xA1, 0xE000},
      {0xAF, 0xFE, 0xE233},
      {0xF8, 0xA1, 0xE234},
      {0xA1, 0x40, 0xE4C6},
      {0xA7, 0xA0, 0xE765},
      // No character.
      {0xB1, 0x7F, -1},
      {0xB1, 0xFF, -1},
      {0xB1, 0x3F, -1},
      {0x80, 0x40, -1},
      {0xFF, 0xA1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gbk_pair_to_unicode(c.lead, c.trail), c.code_point)
        << std::hex << int{c.lead} << " " << int{c.trail};
  }
}

TEST(GbkUnicode, TextBecomesUtf8) {
  EXPECT_EQ(gbk_to_utf8("a\xB1\xEA"
                        "b"),
            "a\xE6\xA0\x87"
            "b");
  EXPECT_EQ(gbk_to_utf8("\xA2\xE3"), "\xEE\x9D\xAC");  // U+E76C
  EXPECT_EQ(gbk_to_utf8("\x80\xFF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(gbk_to_utf8("\xB1\x7F"), "\xEF\xBF\xBD\x7F");  // only the lead byte is lost
  EXPECT_EQ(gbk_to_utf8("\xB1"), "\xEF\xBF\xBD");
  EXPECT_EQ(gbk_to_utf8(""), "");
}

TEST(GbkUnicode, Utf8BecomesGbkWithWhatItCantHoldAsAQuestionMark) {
  struct Case {
    std::string utf8, gbk;
    bool lossy;
  };
  const Case cases[] = {
      {"abc?", "abc?", false},  // a question mark of its own is no loss
      {"\xE6\x95\xB0\xE6\x8D\xAE\xE5\xBA\x93", "\xCA\xFD\xBE\xDD\xBF\xE2", false},  // 数据库
      {"\xE9\x9F\xB3\xE4\xB9\x90\xE2\x99\xAB", "\xD2\xF4\xC0\xD6?", true},          // 音乐♫
      {"\xEE\x9D\xAC", "\xA2\xE3", false},  // U+E76C, a code other converters leave out
      {"\xF0\x9F\x98\x80x", "?x", true},    // outside the Basic Multilingual Plane
      {"\xFFz", "?z", true},                // a byte that begins no character
      {"\xC0\xAF", "??", true},             // an overlong "/"
      {"\xED\xA0\x80", "???", true},        // a surrogate
      {"\xE6\x95", "??", true},             // a character cut short
      {"", "", false},
  };
  for (const Case& c : cases) {
    bool lossy = !c.lossy;
    EXPECT_EQ(utf8_to_gbk(c.utf8, &lossy), c.gbk) << c.utf8;
    EXPECT_EQ(lossy, c.lossy) << c.utf8;
#ifdef _WIN32
    if (!c.lossy) {
      EXPECT_EQ(win32::narrow(win32::widen_utf8(c.utf8)), c.gbk) << "the system's";
    }
#endif
  }
}

#ifdef _WIN32
TEST(GbkUnicode, EveryPairAgreesWithTheSystemsCodePage936) {
  // The one table, against the system's own conversion (which the window uses).
  int differing = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const int32_t ours =
          gbk_pair_to_unicode(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      if (ours < 0) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::wstring system = win32::widen(std::string_view(pair, 2));
      if (system.size() != 1 || static_cast<int32_t>(system[0]) != ours) {
        if (++differing <= 10) {
          ADD_FAILURE() << std::hex << lead << trail << ": ours " << ours << ", the system's "
                        << (system.empty() ? -1 : static_cast<int32_t>(system[0]));
        }
      }
    }
  }
  EXPECT_EQ(differing, 0);
}
#endif

}  // namespace
