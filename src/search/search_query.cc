#include "search/search_query.h"

#include <algorithm>

#include "text/text.h"

namespace {

// Between ": (" + keyword + ")", the query's title filter, and the site filter's host.
constexpr std::string_view kSiteFilter = "s?wd=site%3A%28";
constexpr std::string_view kTitleFilter = "%29%20title";
// The page offset is set by the caller; 100 results a page from the advanced search.
constexpr std::string_view kQueryTail = "&pn=100&tn=baiduadv&rn=100";
constexpr std::string_view kPageOffsetKey = "&pn=";

// The result count: `"` + ">找到相关结果约" ... "个</span></p>".
constexpr std::string_view kCountStart =
    "\">\xD5\xD2\xB5\xBD\xCF\xE0\xB9\xD8\xBD\xE1\xB9\xFB\xD4\xBC";
constexpr std::string_view kCountEnd = "\xB8\xF6</span></p>";

// Items 1 to 5 of the query: base, site filter, host, title filter, encoded term.
std::string query_up_to_term(const SearchSites& sites, std::string_view keyword) {
  std::string term = ": (";
  term.append(keyword);
  term += ")";
  std::string address = sites.search_engine_base_url;
  address.append(kSiteFilter);
  address += sites.source_site_host;
  address.append(kTitleFilter);
  address += url_encode(term);
  return address;
}

}  // namespace

std::string search_page_base_of(const SearchSites& sites, std::string_view keyword) {
  return query_up_to_term(sites, keyword) + std::string(kPageOffsetKey);
}

std::string first_query_address(const SearchSites& sites, std::string_view keyword) {
  return query_up_to_term(sites, keyword) + std::string(kQueryTail);
}

std::string result_page_address(std::string_view page_base, int page) {
  // The offset is a floating-point product written as "%.13g": plain digits (100, 200...).
  std::string address(page_base);
  address += to_text(static_cast<double>(page) * 100.0);
  address.append(kQueryTail);
  return address;
}

int count_result_pages(std::string_view page) {
  const int n = to_integer(text_between(page, kCountStart, kCountEnd));
  return std::max(floor_to_int(static_cast<double>(n) / 100.0) + 1, 1);
}
