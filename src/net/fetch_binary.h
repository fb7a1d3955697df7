#ifndef MOYAN_NET_FETCH_BINARY_H_
#define MOYAN_NET_FETCH_BINARY_H_

// One HTTP GET through the system's WinHttp service: result pages, detail pages and
// packages all come through here.

#include <string_view>

#include "text/byte_set.h"

// What one GET brought back.
struct WebAnswer {
  int status = 0;  // the answer's HTTP status; 0 when none came or the call failed
  ByteSet body;    // exactly as received; empty on any failure
  // A success (2xx): anything else is an error page, whatever its body.
  bool succeeded() const { return status >= 200 && status <= 299; }
};

// The answer to a GET of `url`; status 0 and no body on any failure, without a message.
// Runs on the calling thread and blocks it until the answer is in (it lets no window
// messages run: call it on a worker). Bounded by net_limits(): past the download time or
// size, or past the redirects it may follow, the call fails. Any thread may call it,
// several at once.
WebAnswer fetch_answer(std::string_view url);

// The body of `url` exactly as received, whatever the status (an error page's body too);
// the empty ByteSet on any failure.
ByteSet fetch_binary(std::string_view url);

// Downloads whose system work has not ended yet: a call given up at a bound returns at
// once, and its handles finish in the background. For tests.
int downloads_in_flight();

#endif  // MOYAN_NET_FETCH_BINARY_H_
