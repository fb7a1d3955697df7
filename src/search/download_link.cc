#include "search/download_link.h"

#include "net/web_address.h"
#include "text/text.h"

namespace {

// `<div id="down_address">`, a line break, four spaces, "<a href=" and a single quote ...
// "' target='_blank'>本地下载</a>".
constexpr std::string_view kDownloadPageStart = "<div id=\"down_address\">\r\n    <a href='";
constexpr std::string_view kDownloadPageEnd =
    "' target='_blank'>\xB1\xBE\xB5\xD8\xCF\xC2\xD4\xD8</a>";
// "<!--判断是否已经扣点-->", a line break, `<a href="` ... `"><img src="`.
constexpr std::string_view kPackageStart =
    "<!--\xC5\xD0\xB6\xCF\xCA\xC7\xB7\xF1\xD2\xD1\xBE\xAD\xBF\xDB\xB5\xE3-->\r\n<a href=\"";
constexpr std::string_view kPackageEnd = "\"><img src=\"";

}  // namespace

std::string download_page_path_of(std::string_view detail_page) {
  return text_between(detail_page, kDownloadPageStart, kDownloadPageEnd);
}

std::string package_link_of(std::string_view download_page) {
  return text_between(download_page, kPackageStart, kPackageEnd);
}

std::optional<std::string> package_address(std::string_view source_site_base_url,
                                           std::string_view link) {
  std::string address(source_site_base_url);
  address += link;
  // Where the address really leads, as the server reads it (blanks around the link are
  // no part of any path).
  const std::optional<std::string> resolved =
      resolve_address(source_site_base_url, std::string(source_site_base_url) + trim_spaces(link));
  if (!resolved) return std::nullopt;
  if (path_of_address(*resolved).find_first_not_of('/') == std::string_view::npos) {
    return std::nullopt;
  }
  return address;
}

std::string find_download_link(WebFetcher& fetcher, std::string_view source_site_base_url,
                               const std::string& detail_address) {
  if (detail_address.empty()) return std::string();
  const std::string path = download_page_path_of(to_text(fetcher.fetch(detail_address)));
  if (path.empty()) return std::string();
  std::string download_page_address(source_site_base_url);
  download_page_address += path;
  return package_link_of(to_text(fetcher.fetch(download_page_address)));
}
