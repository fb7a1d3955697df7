// What the web search cuts out of pages it fetches, on arbitrary bytes: a result page
// always gives at least one page to harvest and at most a hundred hits; every hit, value
// and link is a piece of the page; a hit's title is never empty and never holds the
// link-text separator (where a character begins); a package link either gives the site's
// address and the link, somewhere below the site's root, or nothing; a name that passes as
// a plain file name holds no path separator or drive colon at a character's start, and is
// within the longest name a file system takes.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/web_address.h"
#include "search/cut_all_between.h"
#include "search/detail_page.h"
#include "search/download_link.h"
#include "library/file_names.h"
#include "search/result_page.h"
#include "search/search_query.h"
#include "text/text.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool is_piece_of(std::string_view piece, std::string_view page) {
  return page.find(piece) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Pages are read as text: up to the first zero byte.
  const std::string page = to_text(ByteSet(data, size));

  check(count_result_pages(page) >= 1);

  for (const std::string& piece : cut_all_between(page, "href=\"", "</a>")) {
    check(is_piece_of(piece, page));
  }
  const std::vector<Hit> hits = hits_of_result_page(page, "http://127.0.0.1:1/");
  check(hits.size() <= kHitsPerResultPage);
  for (const Hit& hit : hits) {
    check(!hit.title.empty());
    // Where a character begins: a lead byte may pair with the separator's first byte.
    check(find_text(hit.title, "\"target=\"_blank\">") == -1);
    check(find_text(hit.path, "\"target=\"_blank\">") == -1);
  }

  const DetailValues values = read_detail_values(page);
  check(is_piece_of(values.rating, page) && is_piece_of(values.size, page) &&
        is_piece_of(values.update_time, page));
  check(is_piece_of(download_page_path_of(page), page));
  const std::string link = package_link_of(page);
  check(is_piece_of(link, page));
  constexpr std::string_view kSite = "http://127.0.0.1:1/";
  if (const std::optional<std::string> address = package_address(kSite, link)) {
    check(*address == std::string(kSite) + link);
    const std::optional<std::string> resolved =
        resolve_address(kSite, std::string(kSite) + trim_spaces(link));
    check(resolved && path_of_address(*resolved).find_first_not_of('/') != std::string::npos);
  }

  // The page's first line as a title: plain or refused, never a path.
  const std::string title = page.substr(0, page.find('\n'));
  if (fits_plain_file_name(title)) {
    check(title.size() <= 2 * kMaxFileNameUnits);
    for (size_t i = 0; i < title.size(); ++i) {
      const auto c = static_cast<unsigned char>(title[i]);
      if (c >= 0x80) {
        ++i;
        continue;
      }
      check(c != '\\' && c != '/' && c != ':' && c >= 0x20);
    }
  }
  return 0;
}
