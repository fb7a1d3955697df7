#ifndef MOYAN_NET_NET_LIMITS_H_
#define MOYAN_NET_NET_LIMITS_H_

// How long a web call may take, how much it may bring back and how far it may be sent on.
// A server may answer slowly, never, without end, or by redirecting to itself: past a
// bound the call ends as on a network failure, so no thread waits on the web for ever and
// no body fills the program's memory.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Times in milliseconds (<chrono> is left out: its unit names don't survive the GBK
// execution character set).
struct NetLimits {
  // A page request (http_request): the whole call, any one wait for the server within it
  // (connecting and sending until the answer's headers are in; each read of up to 512
  // bytes of the body), and the body it collects.
  uint32_t page_call_ms;
  uint32_t page_quiet_ms;
  size_t page_bytes;
  // A download (fetch_binary: result pages, detail pages and packages): the whole call and
  // its body.
  uint32_t download_call_ms;
  size_t download_bytes;
  // Redirects followed by one call of either routine; an answer that would send it further
  // ends the call as a network failure does. Followed by the routines themselves, never by
  // the system, which under Wine follows a server that redirects to itself without end.
  int redirects;
};

// The bounds the program ships with.
NetLimits shipped_net_limits();
// The bounds in force: the shipped ones unless a test has set others.
NetLimits net_limits();
// For tests only, so that waits end in seconds; the program never calls it.
void set_net_limits_for_testing(const NetLimits& limits);

// The next wait of a page request `elapsed_ms` into the call: no longer than the quiet
// time nor past the end of the call; zero once the call's time is up.
uint32_t next_page_wait(uint64_t elapsed_ms, const NetLimits& limits);

// A "Content-Length" value: decimal digits with optional blanks around them; nothing for
// anything else (a sign, a second number, a value past 64 bits).
std::optional<uint64_t> declared_length(std::string_view value);

#endif  // MOYAN_NET_NET_LIMITS_H_
