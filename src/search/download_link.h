#ifndef MOYAN_SEARCH_DOWNLOAD_LINK_H_
#define MOYAN_SEARCH_DOWNLOAD_LINK_H_

#include <optional>
#include <string>
#include <string_view>

#include "search/web_fetcher.h"

// The way from an entry's detail page to its package on the source site: the detail page
// links to a download page, which links to the package. Both links are relative to the
// source site's base address.

// The download page's path in a detail page; empty when its markers are missing.
std::string download_page_path_of(std::string_view detail_page);
// The package's link in a download page; empty when its markers are missing.
std::string package_link_of(std::string_view download_page);

// The address of the package that `link` names on the source site: the site's base
// address followed by the link. Nothing when the link leads back to the site itself
// (nothing, blanks, only a query, only a fragment, ".", "./", slashes alone, a path that
// comes back to the root): fetching that would bring the site's home page or an error
// page, never a package.
std::optional<std::string> package_address(std::string_view source_site_base_url,
                                           std::string_view link);

// Fetches the detail page at `detail_address`, then the download page it links to, and
// gives the package link found there; empty when either link can't be found. A detail
// page without a download link ends the search there: the site's bare base address is
// never fetched in its place.
std::string find_download_link(WebFetcher& fetcher, std::string_view source_site_base_url,
                               const std::string& detail_address);

#endif  // MOYAN_SEARCH_DOWNLOAD_LINK_H_
