// The query addresses and the count of result pages.
#include "search/search_query.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const SearchSites kSites = {"http://www.search.test/", "www.source.test",
                            "http://www.source.test/"};

TEST(SearchQuery, FirstQueryEncodesEveryByteOfTheTerm) {
  const std::string address = first_query_address(kSites, "abc");
  EXPECT_EQ(address,
            "http://www.search.test/s?wd=site%3A%28www.source.test%29%20title%3A%20%28%61%62%63%29"
            "&pn=100&tn=baiduadv&rn=100");
  const std::string tail = "%29%20title%3A%20%28%61%62%63%29&pn=100&tn=baiduadv&rn=100";
  EXPECT_EQ(address.substr(address.size() - tail.size()), tail);
}

TEST(SearchQuery, KeywordBytesAreEncodedAsGbkWithInnerSpaces) {
  // "源码 a": a GBK character pair each, the space inside as %20.
  EXPECT_EQ(first_query_address(kSites, "源 a"),
            "http://www.search.test/s?wd=site%3A%28www.source.test%29%20title%3A%20%28%D4%B4%20%61"
            "%29&pn=100&tn=baiduadv&rn=100");
}

TEST(SearchQuery, PageBaseEndsInTheOffsetKeyAndPagesCarryPnTwice) {
  const std::string base = search_page_base_of(kSites, "abc");
  EXPECT_EQ(base,
            "http://www.search.test/s?wd=site%3A%28www.source.test%29%20title%3A%20%28%61%62%63%29"
            "&pn=");
  struct Case {
    int page;
    std::string tail;
  };
  const Case cases[] = {{1, "100&pn=100&tn=baiduadv&rn=100"},
                        {2, "200&pn=100&tn=baiduadv&rn=100"},
                        {20, "2000&pn=100&tn=baiduadv&rn=100"},
                        {123456, "12345600&pn=100&tn=baiduadv&rn=100"}};
  for (const Case& c : cases) {
    EXPECT_EQ(result_page_address(base, c.page), base + c.tail) << "page " << c.page;
  }
}

std::string page_with_count(const std::string& count) {
  return "<p><span class=\"nums\">找到相关结果约" + count + "个</span></p>";
}

TEST(SearchQuery, CountGivesPages) {
  struct Case {
    std::string page;
    int pages;
  };
  const Case cases[] = {
      {page_with_count("0"), 1},
      {page_with_count(""), 1},
      {page_with_count("99"), 1},
      {page_with_count("100"), 2},
      {page_with_count("199"), 2},
      {page_with_count("250"), 3},
      {page_with_count("1,230"), 1},                   // the thousands separator ends the number
      {page_with_count("1e3"), 1},                     // an integer: no exponent
      {page_with_count("2.5e2"), 1},                   // nor a fraction
      {page_with_count("２５０"), 3},                  // full-width digits fold
      {page_with_count(" 300"), 4},                    // leading white space is skipped
      {page_with_count("-500"), 1},                    // never fewer than one page
      {page_with_count("99999999999"), 21474837},      // held to the integer range
      {"", 1},                                         // no page at all
      {"<p><span>找到相关结果约250个</span></p>", 1},  // the start marker needs its quote
      {page_with_count("250") + page_with_count("900"), 3},           // the first count counts
      {"<P><SPAN CLASS=\"NUMS\">找到相关结果约250个</SPAN></P>", 3},  // tags in any case
  };
  for (const Case& c : cases) {
    EXPECT_EQ(count_result_pages(c.page), c.pages) << c.page;
  }
}

}  // namespace
