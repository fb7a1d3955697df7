#ifndef MOYAN_SEARCH_SEARCH_QUERY_H_
#define MOYAN_SEARCH_SEARCH_QUERY_H_

#include <string>
#include <string_view>

#include "search/search_sites.h"

// The search engine's query for a keyword: pages of the source site whose title holds the
// keyword, 100 results a page. Decoded, its wd reads "site:(HOST) title: (KEYWORD)"; every
// byte of ": (KEYWORD)" is percent-encoded, letters and digits too.

// The address of a result page without its page offset; it ends in "&pn=". A worker adds
// its page's offset and the fixed tail.
std::string search_page_base_of(const SearchSites& sites, std::string_view keyword);
// The first query, which serves only to read the number of results.
std::string first_query_address(const SearchSites& sites, std::string_view keyword);
// Result page `page` (from 1): offset page * 100, then the fixed tail, so the key pn comes
// twice (the page's offset, then 100).
std::string result_page_address(std::string_view page_base, int page);

// The number of result pages a result page announces: the count between its markers, read
// as an integer (full-width digits fold; "1,230" reads 1), n / 100 rounded down, plus 1.
// At least 1, also for a missing, empty or negative count.
int count_result_pages(std::string_view page);

#endif  // MOYAN_SEARCH_SEARCH_QUERY_H_
