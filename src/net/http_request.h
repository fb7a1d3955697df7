#ifndef MOYAN_NET_HTTP_REQUEST_H_
#define MOYAN_NET_HTTP_REQUEST_H_

// A general page request over the system's WinInet service: GET or POST, an optional
// proxy, caller's header lines completed with browser-like defaults, optional form data,
// and optionally the raw response headers.

#include <optional>
#include <string>
#include <string_view>

// Fetches `url` ("http://host[:port]/path" or the same without the scheme) and returns its
// body up to the first zero byte, as GBK text without conversion, whatever the status; the
// empty text on every failure, without a message.
//   method            "POST" in any letter case posts (with the verb as written); anything
//                     else gets
//   proxy             when given (even empty), the request goes through the HTTP proxy
//                     "host:port"
//   headers           extra request lines, each ending in "\r\n"
//   post_data         the body of a POST
//   response_headers  when given, receives the raw response header block, or 1024 blanks
//                     when the block does not fit a 1024-byte buffer
// The calling thread's window messages run before each read and while it waits. Bounded by
// net_limits(): no wait longer than the quiet time, no call longer than the call time (a
// body cut off by it gives what had come), no body past the page size (the result is then
// empty).
std::string http_request(std::string_view url, std::string_view method = {},
                         std::optional<std::string_view> proxy = std::nullopt,
                         std::string_view headers = {}, std::string_view post_data = {},
                         std::string* response_headers = nullptr);

// Page requests whose WinInet work has not ended yet: a call given up at a bound returns
// at once, and its handles finish in the background. For tests.
int page_requests_in_flight();

#endif  // MOYAN_NET_HTTP_REQUEST_H_
