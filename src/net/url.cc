#include "net/url.h"

#include "text/text.h"

namespace {

// The address up to the first "/" after the optional "http://" scheme: host and port.
std::string host_and_port_of_url(std::string_view url) {
  const int length = text_byte_length(url);
  if (compare_texts(left_text(url, 7), "http://", false) != 0) {
    const int slash = find_text(url, "/");
    return slash != -1 ? left_text(url, slash - 1) : std::string(url);
  }
  const int slash = find_text(url, "/", 8);
  return slash != -1 ? mid_text(url, 8, slash - 8) : right_text(url, length - 7);
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
  const std::string host = host_of_url(url);
  const int host_at = find_text(url, host, 1, true);  // the address may spell it in upper case
  const int slash = find_text(url, "/", host_at == -1 ? 1 : host_at);
  if (slash > 0) return right_text(url, text_byte_length(url) - slash + 1);
  return "/";
}
