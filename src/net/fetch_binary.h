#ifndef MOYAN_NET_FETCH_BINARY_H_
#define MOYAN_NET_FETCH_BINARY_H_

// One HTTP GET through the system's WinHttp request object: result pages, detail pages
// and packages all come through here.

#include <string_view>

#include "text/byte_set.h"

// The body of `url` exactly as received, whatever the status (an error page's body too);
// the empty ByteSet on any failure, without a message. Runs on the calling thread and sets
// COM up around itself, so any thread may call it, several at once. Bounded by
// net_limits(): past the download time or size the result is empty.
ByteSet fetch_binary(std::string_view url);

#endif  // MOYAN_NET_FETCH_BINARY_H_
