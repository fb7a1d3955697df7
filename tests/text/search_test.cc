// find_text, find_text_reverse and compare_texts.

#include <climits>
#include <optional>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

struct FindCase {
  const char* text;
  const char* pattern;
  int start;
  bool ignore_case;
  int expected;
};

TEST(FindText, Table) {
  const FindCase cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 7, false, -1},  // start past the end
      {"abcabc", "abc", 2, false, 4},
      {"abc", "c", 0, false, 3},  // start below 1 searches from 1
      {"abc", "c", INT_MIN, false, 3},
      {"abc", "c", INT_MAX, false, -1},
      {"abc", "abcd", 1, false, -1},
      {"abc", "", 1, false, 1},
      {"abc", "", 3, false, 1},  // 1, not the start position
      {"abc", "", 4, false, -1},
      {"", "", 1, false, -1},
      {"", "a", 1, false, -1},
      {"ABC", "b", 1, true, 2},
      {"ABC", "b", 1, false, -1},
      {"<TITLE>x", "<title>", 1, true, 1},
      {"xyz TITLE", "title", 1, true, 5},  // letters only
      {"xyz tItLe", "TiTlE", 1, true, 5},
      {"中A", "A", 1, false, 3},
      {"中A", "\xD0", 1, false, -1},  // never inside a two-byte character
      {"\xB0"
       "AA",
       "A", 1, false, 3},  // 'A' as the second byte of a character
      {"\xB0"
       "aA",
       "a", 1, true, 3},
      {"中\xD0", "\xD0", 1, false, -1},  // a lead byte at the very end ends the walk
      {"\xD0"
       "A",
       "\xD0", 1, false, 1},
      {"中文", "\xD0\xCE", 2, false, 2},      // the walk starts at the start position
      {"中文", "文", 2, false, -1},           // ... and so steps over 文 from there
      {"\xB0\x61", "\xB0\x41", 1, true, -1},  // second bytes are never folded
      {"\xB0\x41", "\xB0\x41", 1, true, 1},
      {"aa中bb中cc", "中c", 1, false, 7},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " / " << c.pattern << " from " << c.start);
    EXPECT_EQ(find_text(c.text, c.pattern, c.start, c.ignore_case), c.expected);
  }
}

struct FindReverseCase {
  const char* text;
  const char* pattern;
  std::optional<int> start;
  bool ignore_case;
  int expected;
};

TEST(FindTextReverse, Table) {
  const FindReverseCase cases[] = {
      {"abcabc", "c", std::nullopt, false, 6},
      {"abcabc", "c", 6, false, 3},  // only matches ending before position 6
      {"abcabc", "c", 7, false, 6},
      {"abcabc", "bc", 6, false, 2},
      {"abcabc", "c", 1, false, -1},
      {"abcabc", "c", 0, false, -1},
      {"abcabc", "c", INT_MIN, false, -1},
      {"abcabc", "c", INT_MAX, false, 6},
      {"abc", "", std::nullopt, false, 1},
      {"abc", "", 2, false, 1},
      {"abc", "", 1, false, -1},
      {"", "", std::nullopt, false, -1},
      {"aXbx", "X", std::nullopt, true, 4},
      {"aXbx", "X", std::nullopt, false, 2},
      {"中\xD0", "\xD0", std::nullopt, false, -1},
      {"中文", "\xD0\xCE", std::nullopt, false, -1},
      {"\xB0\xB0\xB0\xB0\xB0", "\xB0\xB0", std::nullopt, false, 3},
      {"\xB0\xB0\xB0\xB0", "\xB0", std::nullopt, false, 3},
  };
  for (const FindReverseCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.text << " / " << c.pattern << " before " << c.start.value_or(-999));
    EXPECT_EQ(find_text_reverse(c.text, c.pattern, c.start, c.ignore_case), c.expected);
  }
}

struct CompareCase {
  const char* a;
  const char* b;
  bool case_sensitive;
  int sign;
};

TEST(CompareTexts, Table) {
  const CompareCase cases[] = {
      {"abc", "abd", true, -1},
      {"abd", "abc", true, 1},
      {"abc", "ABC", true, 1},
      {"abc", "ABC", false, 0},
      {"http://", "HTTP://", false, 0},
      {"ab", "abc", true, -1},
      {"", "", true, 0},
      {"", "a", false, -1},
      {"中", "a", true, 1},                 // two-byte characters sort after ASCII
      {"\xB0\x41", "\xB0\x61", false, -1},  // second bytes are not letters
      {"_", "a", false, -1},
      {"_", "A", false, -1},
  };
  for (const CompareCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
    const int result = compare_texts(c.a, c.b, c.case_sensitive);
    EXPECT_EQ((result > 0) - (result < 0), c.sign);
  }
}

}  // namespace
