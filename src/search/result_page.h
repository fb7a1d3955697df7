#ifndef MOYAN_SEARCH_RESULT_PAGE_H_
#define MOYAN_SEARCH_RESULT_PAGE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A hit of a result page: a link to a detail page of the source site.
struct Hit {
  std::string path;   // the detail page's address after the source site's base address
  std::string title;  // the link text without the search engine's highlighting tags
};

// One hit's text (what follows the hit-link start marker, up to "</a>"): the highlighting
// tags "</em>" and "<em>" removed, then parted at the 17-byte link-text separator. Nothing
// unless that gives exactly two parts and a title (no separator, an empty title, or a
// title that holds the separator again).
std::optional<Hit> hit_of(std::string_view hit_text);

// Hits taken from one result page at most: the engine is asked for 100 results a page,
// so a page that holds more is not the page asked for, and its surplus is not harvested.
inline constexpr size_t kHitsPerResultPage = 100;

// The hits of a result page that link to the source site, in the page's order, the first
// kHitsPerResultPage of them; hit texts that give no hit are left out (and not counted).
// Links are matched byte for byte.
std::vector<Hit> hits_of_result_page(std::string_view page, std::string_view source_site_base_url);

#endif  // MOYAN_SEARCH_RESULT_PAGE_H_
