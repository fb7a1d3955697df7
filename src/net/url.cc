#include "net/url.h"

#include "text/text.h"

namespace {

// 1-based position where the host begins: after "http://" (any letter case), else 1.
int host_start_of_url(std::string_view url) {
  return compare_texts(left_text(url, 7), "http://", false) == 0 ? 8 : 1;
}

// The address from the host up to the first "/" after it: host and port.
std::string host_and_port_of_url(std::string_view url) {
  const int start = host_start_of_url(url);
  const int slash = find_text(url, "/", start);
  if (slash != -1) return mid_text(url, start, slash - start);
  return right_text(url, text_byte_length(url) - (start - 1));
}

}  // namespace

std::string host_of_url(std::string_view url) {
  std::string host = host_and_port_of_url(url);
  const int colon = find_text(host, ":");
  if (colon != -1) host = left_text(host, colon - 1);
  return to_lower(host);
}

int port_of_url(std::string_view url) {
  const std::string host_and_port = host_and_port_of_url(url);
  const int colon = find_text(host_and_port, ":");
  const std::string port_text =
      colon != -1 ? right_text(host_and_port, text_byte_length(host_and_port) - colon) : "80";
  // A port WinInet can't take would be cut to 16 bits there and reach another port.
  const int port = to_integer(to_number(port_text));
  if (port < 0) return 0;
  return port > 65535 ? 65535 : port;
}

std::string path_of_url(std::string_view url) {
  // The "/" is looked for from where the host begins, not from wherever the host's name
  // first occurs: a host such as "h" or "tp" also occurs inside "http://", and an empty
  // host occurs everywhere.
  const int slash = find_text(url, "/", host_start_of_url(url));
  if (slash > 0) return right_text(url, text_byte_length(url) - slash + 1);
  return "/";
}
