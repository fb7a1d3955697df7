// Letter case and spaces step whole characters: a second byte is never a letter or a space.

#include <climits>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

struct CaseCase {
  const char* text;
  const char* upper;
  const char* lower;
};

TEST(ToUpperLower, Table) {
  const CaseCase cases[] = {
      {"abc中Def", "ABC中DEF", "abc中def"},
      {"\xB0\x61z", "\xB0\x61Z", "\xB0\x61z"},  // 0x61 as a second byte stays
      {"\xB0\x41Z", "\xB0\x41Z", "\xB0\x41z"},
      {"a\xB0", "A\xB0", "a\xB0"},  // a lone lead byte at the end is kept
      {"", "", ""},
      {"[_]@", "[_]@", "[_]@"},
  };
  for (const CaseCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(to_upper(c.text), c.upper);
    EXPECT_EQ(to_lower(c.text), c.lower);
  }
}

struct SpaceCase {
  const char* text;
  const char* trimmed;
  const char* removed;
};

TEST(TrimAndRemoveSpaces, Table) {
  const SpaceCase cases[] = {
      {"  a b  ", "a b", "ab"},
      {"　a　b　", "a　b", "ab"},  // full-width spaces
      {" 　 ", "", ""},
      {"", "", ""},
      {" \ta\n ", "\ta\n", "\ta\n"},                        // tabs and line breaks are not spaces
      {"\xB0 x", "\xB0 x", "\xB0 x"},                       // 0x20 as a second byte is not a space
      {"x\xB0\xA1\xA1", "x\xB0\xA1\xA1", "x\xB0\xA1\xA1"},  // nor is A1 A1 across characters
      {"a \xA1", "a \xA1", "a\xA1"},                        // a lone lead byte at the end is kept
  };
  for (const SpaceCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(trim_spaces(c.text), c.trimmed);
    EXPECT_EQ(remove_spaces(c.text), c.removed);
  }
}

TEST(Spaces, Table) {
  const struct {
    int n;
    const char* expected;
  } cases[] = {{3, "   "}, {1, " "}, {0, ""}, {-1, ""}, {INT_MIN, ""}};
  for (const auto& c : cases) EXPECT_EQ(spaces(c.n), c.expected) << c.n;
}

}  // namespace
