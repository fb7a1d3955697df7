#ifndef MOYAN_NET_URL_H_
#define MOYAN_NET_URL_H_

// Splitting a plain HTTP address (with or without "http://") into the pieces WinInet takes
// separately. No validation and no percent-decoding: every address gives some result.

#include <string>
#include <string_view>

// The host name in lower case, without port.
std::string host_of_url(std::string_view url);
// The port; 80 when the address names none, 0 when its port text holds no number, held to
// 0 .. 65535.
int port_of_url(std::string_view url);
// The tail from the "/" that follows the host (query and fragment included); "/" when none.
std::string path_of_url(std::string_view url);

#endif  // MOYAN_NET_URL_H_
