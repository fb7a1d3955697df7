#ifndef MOYAN_NET_WEB_ADDRESS_H_
#define MOYAN_NET_WEB_ADDRESS_H_

// Where a link or a redirect leads, worked out as a browser does: a web call follows a
// server's redirects itself (a bounded number of them), and a package link is checked for
// where it really leads before anything is fetched.

#include <optional>
#include <string>
#include <string_view>

// Whether an answer with `status` sends the client elsewhere (its Location header says
// where): 301, 302, 303, 307 and 308.
bool is_redirect_status(int status);

// Whether a redirect with `status` keeps the request's method and body (307, 308); the
// others are followed with a plain GET.
bool redirect_keeps_method(int status);

// The absolute address that `reference` (a Location value, a link) names when read from
// the page at `base` ("http://" or "https://", host, path): a full address, one without
// its scheme ("//host/..."), a path from the root, a query alone, a fragment alone, or a
// path relative to the base's folder. Dot segments are resolved ("%2e" counts as a dot,
// as browsers read it), the fragment is dropped, the scheme is written in lower case.
// Nothing for a reference with another scheme, a base that is no http or https address,
// or either holding control characters.
std::optional<std::string> resolve_address(std::string_view base, std::string_view reference);

// The path of an absolute address: from the "/" after the host up to the query; empty when
// the address has none.
std::string_view path_of_address(std::string_view address);

#endif  // MOYAN_NET_WEB_ADDRESS_H_
