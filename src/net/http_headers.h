#ifndef MOYAN_NET_HTTP_HEADERS_H_
#define MOYAN_NET_HTTP_HEADERS_H_

// What a page request sends, settled before any handle is opened: the verb, the header
// text completed with the browser-like defaults, and the body. Plain logic over GBK texts,
// so every rule is checked without a network.

#include <string>
#include <string_view>

// The user agent a page request names itself with.
inline constexpr char kPageUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// Prefix of the proxy list when a proxy is given.
inline constexpr char kProxyListPrefix[] = "http=";

inline constexpr char kDefaultAcceptLine[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";
inline constexpr char kDefaultLanguageLine[] = "Accept-Language: zh-cn\r\n";
inline constexpr char kFormTypeLine[] = "Content-Type: application/x-www-form-urlencoded\r\n";

// "POST" in any letter case stays as the caller wrote it; anything else becomes "GET".
std::string settle_method(std::string_view method);

// The caller's header lines followed by the default Accept, Referer and language lines,
// each added only when no line of its name (ASCII case ignored) is anywhere in the text so
// far. The Referer names `url` as the caller gave it.
std::string complete_request_headers(std::string_view headers, std::string_view url);

// Everything one page request sends.
struct PageRequest {
  std::string verb;     // as given to the request handle
  std::string headers;  // the header text, each line ending in "\r\n"
  std::string body;     // empty for a GET and for a POST without data
};

// Settles verb, header text and body as the request sends them. Only a verb of exactly
// "GET" sends no body; any other (a POST in some letter case) sends `post_data`, announced
// by the form type and length lines when it is not empty, whatever the caller's lines hold.
PageRequest plan_page_request(std::string_view url, std::string_view method,
                              std::string_view headers, std::string_view post_data);

// The response header block as the caller receives it: the block when it fits the
// 1024-byte buffer together with its terminating zero, else the untouched buffer of 1024
// blanks.
inline constexpr int kResponseHeaderBuffer = 1024;
std::string fit_response_headers(std::string_view block);

#endif  // MOYAN_NET_HTTP_HEADERS_H_
