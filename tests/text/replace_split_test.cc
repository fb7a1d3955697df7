// replace_substring and split_text.

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

struct ReplaceCase {
  const char* text;
  const char* find;
  const char* replacement;
  int start;
  std::optional<int> count;
  bool case_sensitive;
  const char* expected;
};

TEST(ReplaceSubstring, Table) {
  const std::optional<int> all;
  const ReplaceCase cases[] = {
      {"aaa", "a", "b", 1, all, true, "bbb"},
      {"aaaa", "aa", "b", 1, all, true, "bb"},  // no overlap
      {"a", "a", "aa", 1, all, true, "aa"},     // the replacement is not searched again
      {"abcabc", "b", "XX", 3, all, true, "abcaXXc"},
      {"abab", "a", "x", 1, 1, true, "xbab"},
      {"abab", "a", "x", 1, 0, true, "abab"},
      {"abab", "a", "x", 1, -1, true, "abab"},  // a negative count replaces nothing
      {"abab", "a", "x", 0, all, true, "xbxb"},
      {"abab", "a", "x", INT_MIN, all, true, "xbxb"},
      {"abab", "a", "x", 5, all, true, "abab"},
      {"abab", "a", "x", INT_MAX, INT_MAX, true, "abab"},
      {"", "a", "x", 1, all, true, ""},
      {"abc", "", "x", 1, all, true, "abc"},
      {"abc", "b", "", 1, all, true, "ac"},
      {"aAa", "a", "b", 1, all, false, "bbb"},
      {"aAa", "a", "b", 1, all, true, "bAb"},
      {"中文", "\xD0\xCE", "x", 1, all, true, "中文"},  // never across characters
      {"a中a", "a", "b", 1, all, true, "b中b"},
      {"\xB0\x61"
       "a",
       "A", "x", 1, all, false, "\xB0\x61x"},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " / " << c.find << " from " << c.start);
    EXPECT_EQ(replace_substring(c.text, c.find, c.replacement, c.start, c.count, c.case_sensitive),
              c.expected);
  }
  EXPECT_EQ(replace_substring("abc", "b"), "ac");
}

struct SplitCase {
  const char* text;
  const char* delimiter;
  std::optional<int> max_pieces;
  std::vector<std::string> expected;
};

TEST(SplitText, Table) {
  const std::optional<int> all;
  const SplitCase cases[] = {
      {"a,b,c", ",", all, {"a", "b", "c"}},
      {",a", ",", all, {"", "a"}},
      {"a,,b", ",", all, {"a", "", "b"}},
      {"a,", ",", all, {"a"}},  // a trailing delimiter adds no empty piece
      {"a,,", ",", all, {"a", ""}},
      {",", ",", all, {""}},
      {"", ",", all, {}},
      {"abc", "", all, {"abc"}},
      {"a,b,c", ",", 2, {"a", "b"}},  // the rest is dropped
      {"a,b", ",", 2, {"a", "b"}},
      {"a", ",", 1, {"a"}},
      {"a,b", ",", 0, {}},
      {"a,b", ",", -1, {}},
      {"a,b", ",", INT_MAX, {"a", "b"}},
      {"a::b", "::", all, {"a", "b"}},
      {"\xB0|a|b", "|", all, {"\xB0|a", "b"}},  // '|' as a second byte
      {"中\r\n文\r\n", "\r\n", all, {"中", "文"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " by " << c.delimiter);
    EXPECT_EQ(split_text(c.text, c.delimiter, c.max_pieces), c.expected);
  }
  EXPECT_EQ(split_text("x,y"), (std::vector<std::string>{"x", "y"}));
}

}  // namespace
