#include "net/net_limits.h"

#include <algorithm>
#include <mutex>

namespace {

// A page (the announcement) comes in well within 30 s on any working line. 18 s without progress is
// the page request's own connect, send and receive time-out. A package may take longer than a page,
// so a download gets 60 s in all.
// 16 MiB is over fifty times the largest result page (a hundred hits). 64 MiB holds any
// source package, and a 32-bit process holds it easily beside everything else: a download
// keeps one copy of the body as it comes (two for a moment while an undeclared one is
// joined), and gives up the moment it passes the bound.
// Five redirects cover any site's moves (to another host name, to a new path, to a
// download server) with room to spare; a chain longer than that is a loop.
constexpr NetLimits kShipped{
    .page_call_ms = 30'000,
    .page_quiet_ms = 18'000,
    .page_bytes = size_t{16} << 20,
    .download_call_ms = 60'000,
    .download_bytes = size_t{64} << 20,
    .redirects = 5,
};

std::mutex limits_mutex;
NetLimits current = kShipped;

}  // namespace

NetLimits shipped_net_limits() {
  return kShipped;
}

NetLimits net_limits() {
  std::lock_guard<std::mutex> lock(limits_mutex);
  return current;
}

void set_net_limits_for_testing(const NetLimits& limits) {
  std::lock_guard<std::mutex> lock(limits_mutex);
  current = limits;
}

uint32_t next_page_wait(uint64_t elapsed_ms, const NetLimits& limits) {
  if (elapsed_ms >= limits.page_call_ms) return 0;
  const uint64_t left = limits.page_call_ms - elapsed_ms;
  return static_cast<uint32_t>(std::min<uint64_t>(left, limits.page_quiet_ms));
}

std::optional<uint64_t> declared_length(std::string_view value) {
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  const size_t digits_start = i;
  uint64_t length = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(value[i] - '0');
    if (length > (UINT64_MAX - digit) / 10) return std::nullopt;
    length = length * 10 + digit;
  }
  if (i == digits_start) return std::nullopt;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  if (i != value.size()) return std::nullopt;
  return length;
}
