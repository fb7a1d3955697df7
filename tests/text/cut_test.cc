// The cutting operations count plain bytes and clamp every count and position.

#include <climits>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

struct CountCase {
  const char* text;
  int n;
  const char* left;
  const char* right;
};

TEST(LeftRightText, Table) {
  const CountCase cases[] = {
      {"abc", 2, "ab", "bc"},      {"abc", 3, "abc", "abc"},
      {"abc", 5, "abc", "abc"},    {"abc", 0, "", ""},
      {"abc", -1, "", ""},         {"abc", INT_MAX, "abc", "abc"},
      {"abc", INT_MIN, "", ""},    {"", 2, "", ""},
      {"中文", 1, "\xD6", "\xC4"},  // may cut a character in half
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " n=" << c.n);
    EXPECT_EQ(left_text(c.text, c.n), c.left);
    EXPECT_EQ(right_text(c.text, c.n), c.right);
  }
}

struct MidCase {
  const char* text;
  int start;
  int n;
  const char* expected;
};

TEST(MidText, Table) {
  const MidCase cases[] = {
      {"abcdef", 2, 3, "bcd"},
      {"abcdef", 5, 10, "ef"},
      {"abcdef", 6, 1, "f"},
      {"abcdef", 0, 2, ""},
      {"abcdef", 7, 1, ""},
      {"abcdef", 2, 0, ""},
      {"abcdef", 2, -3, ""},
      {"abcdef", INT_MIN, 3, ""},
      {"abcdef", INT_MAX, INT_MAX, ""},
      {"abcdef", 1, INT_MAX, "abcdef"},
      {"", 1, 1, ""},
  };
  for (const MidCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " start=" << c.start << " n=" << c.n);
    EXPECT_EQ(mid_text(c.text, c.start, c.n), c.expected);
  }
}

struct ReplaceAtCase {
  const char* text;
  int start;
  int n;
  const char* replacement;
  const char* expected;
};

TEST(ReplaceAt, Table) {
  const ReplaceAtCase
      cases[] =
          {
              {"abcdef", 2, 3, "XY", "aXYef"},
              {"abc", 0, 1, "X", "Xbc"},  // start below 1 counts as 1
              {"abc", INT_MIN, 1, "X", "Xbc"},
              {"abc", 4, 1, "X", "abcX"},  // start past the end appends
              {"abc", INT_MAX, INT_MAX, "X", "abcX"},
              {"abc", 2, 0, "X", "aXbc"},  // n <= 0 inserts
              {"abc", 2, INT_MIN, "X", "aXbc"},
              {"abc", 2, 99, "X", "aX"},  // n past the end removes to the end
              {"abc", 2, INT_MAX, "", "a"},
              {"abc", 2, 1, "", "ac"},
              {"", 1, 1, "X", "X"},
          };
  for (const ReplaceAtCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " start=" << c.start << " n=" << c.n);
    EXPECT_EQ(replace_at(c.text, c.start, c.n, c.replacement), c.expected);
  }
  EXPECT_EQ(replace_at("abc", 2, 1), "ac");
}

}  // namespace
