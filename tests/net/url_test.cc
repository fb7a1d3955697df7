// host_of_url, port_of_url and path_of_url on plain HTTP addresses and on odd ones.

#include <gtest/gtest.h>

#include "net/url.h"

namespace {

struct UrlCase {
  const char* url;
  const char* host;
  int port;
  const char* path;
};

TEST(SplitUrl, Table) {
  const UrlCase cases[] = {
      {"http://Www.Example.COM:8080/a/b?x=1", "www.example.com", 8080, "/a/b?x=1"},
      {"HTTP://host/p", "host", 80, "/p"},
      {"Host.com/x/y", "host.com", 80, "/x/y"},  // no scheme
      {"http://host", "host", 80, "/"},
      {"host:8080", "host", 8080, "/"},
      {"http://host:", "host", 0, "/"},
      {"http://host:8080x/a", "host", 8080, "/a"},
      {"http://host:abc/", "host", 0, "/"},
      {"http://host: 81/", "host", 81, "/"},         // leading blank skipped
      {"http://host:８０８１/", "host", 8081, "/"},  // full-width digits
      {"http://host?q=1", "host?q=1", 80, "/"},      // a query without "/" stays in the host
      {"http://host/a#frag", "host", 80, "/a#frag"},
      {"https://host/a", "https", 0, "//host/a"},  // another scheme is not recognised
      {"", "", 80, "/"},
      {"http://EXAMPLE.com/x", "example.com", 80, "/x"},
      {"http://h/h/x", "h", 80, "/h/x"},  // a host that also occurs inside "http://"
      {"http://TP/x", "tp", 80, "/x"},
      {"http:///x", "", 80, "/x"},  // an empty host
      // Ports WinInet can't take are held to its range rather than cut to 16 bits.
      {"http://host:65616/", "host", 65535, "/"},
      {"http://host:99999999999999999999/", "host", 65535, "/"},
      {"http://host:-5/", "host", 0, "/"},
      {"http://host:1e3/", "host", 1000, "/"},
      {"http://host:80.9/", "host", 80, "/"},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(host_of_url(c.url), c.host);
    EXPECT_EQ(port_of_url(c.url), c.port);
    EXPECT_EQ(path_of_url(c.url), c.path);
  }
}

}  // namespace
