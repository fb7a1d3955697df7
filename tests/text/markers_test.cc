// Cutting values out of pages between markers, and url_encode.

#include <climits>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

struct BetweenCase {
  const char* text;
  const char* start_marker;
  const char* end_marker;
  int start;
  const char* expected;
};

TEST(TextBetween, Table) {
  const BetweenCase cases[] = {
      {"<TITLE>Hi</TITLE>", "<title>", "</title>", 1, "Hi"},  // markers in another case
      {"[a]x[b]y]", "[", "]", 1, "a"},                        // the first start marker
      {"] [x", "[", "]", 1, ""},                              // end marker only before it
      {"<b></b>", "<b>", "</b>", 1, ""},
      {"[a][b]", "[", "]", 2, "b"},
      {"[a][b]", "[", "]", 0, "a"},
      {"[a][b]", "[", "]", INT_MIN, "a"},
      {"[a][b]", "[", "]", 7, ""},
      {"[a][b]", "[", "]", INT_MAX, ""},
      {"abc", "x", "c", 1, ""},
      {"abc", "a", "x", 1, ""},
      {"abc", "c", "c", 1, ""},          // nothing after the start marker
      {"\xB0[a][b]", "[", "]", 1, "b"},  // '[' as a second byte is no marker
      {"共<span>１２</span>个", "<SPAN>", "</SPAN>", 1, "１２"},
      {"abc", "a", "", 1, ""},
  };
  for (const BetweenCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " from " << c.start);
    EXPECT_EQ(text_between(c.text, c.start_marker, c.end_marker, c.start), c.expected);
  }
  EXPECT_EQ(text_between("(x)", "(", ")"), "x");
}

TEST(TextBetweenQuoted, Table) {
  const struct {
    const char* text;
    const char* start_marker;
    const char* end_marker;
    const char* expected;
  } cases[] = {
      {"<a href=\"x.rar\">", "href=#引号", "#引号", "x.rar"},
      {"<A HREF=\"x.rar\">", "href=#引号", "#引号>", "x.rar"},
      {"<a class=\"n\">t</a>", "class=#引号n#引号>", "</a>", "t"},
      {"(x)", "(", ")", "x"},
      {"#引号x#引号", "#引号", "#引号", ""},  // the page's own placeholder text is not a quote
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text_between_quoted(c.text, c.start_marker, c.end_marker), c.expected);
  }
}

TEST(UrlEncode, Table) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"a b", "%61%20%62"},   {"中", "%D6%D0"},         {"\n", "%0A"}, {"", ""},
      {"\xFF\x01", "%FF%01"}, {"-_.~", "%2D%5F%2E%7E"},
  };
  for (const auto& c : cases) EXPECT_EQ(url_encode(c.text), c.expected) << c.expected;
}

}  // namespace
