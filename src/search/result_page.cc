#include "search/result_page.h"

#include "search/cut_all_between.h"
#include "text/text.h"

namespace {

// A hit link: `href="` and the source site's base address, up to the link's end.
constexpr std::string_view kHitLinkStart = "href=\"";
constexpr std::string_view kHitLinkEnd = "</a>";
// Between the link's address and its text: `"target="_blank">`, 17 bytes.
constexpr std::string_view kLinkTextSeparator = "\"target=\"_blank\">";
static_assert(kLinkTextSeparator.size() == 17);
// The search engine marks the keyword inside a title.
constexpr std::string_view kHighlightEnd = "</em>";
constexpr std::string_view kHighlightStart = "<em>";

}  // namespace

std::optional<Hit> hit_of(std::string_view hit_text) {
  const std::string plain =
      replace_substring(replace_substring(hit_text, kHighlightEnd), kHighlightStart);
  std::vector<std::string> parts = split_text(plain, kLinkTextSeparator);
  // Two parts with an empty title come from a text ending in the separator twice: no
  // title either, so skipped like a hit without one.
  if (parts.size() != 2 || parts[1].empty()) return std::nullopt;
  return Hit{std::move(parts[0]), std::move(parts[1])};
}

std::vector<Hit> hits_of_result_page(std::string_view page, std::string_view source_site_base_url) {
  std::string start(kHitLinkStart);
  start.append(source_site_base_url);
  std::vector<Hit> hits;
  for (const std::string& text : cut_all_between(page, start, kHitLinkEnd)) {
    if (hits.size() == kHitsPerResultPage) break;
    if (std::optional<Hit> hit = hit_of(text)) hits.push_back(std::move(*hit));
  }
  return hits;
}
