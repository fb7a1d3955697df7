#ifndef MOYAN_SEARCH_WEB_FETCHER_H_
#define MOYAN_SEARCH_WEB_FETCHER_H_

#include <string>

#include "text/byte_set.h"

// Where the search gets result pages, detail pages and packages: the program fetches them
// through the system's WinHttp service, tests from a table.
class WebFetcher {
 public:
  virtual ~WebFetcher() = default;
  // One GET of `address`: the body of a successful answer exactly as received; empty on any
  // failure, an answer that is no success (an error page) included, so no error page is
  // ever taken for a page or kept as a package. Called from several threads at once.
  virtual ByteSet fetch(const std::string& address) = 0;
};

#endif  // MOYAN_SEARCH_WEB_FETCHER_H_
