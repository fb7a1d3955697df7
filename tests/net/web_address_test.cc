// Where links and Location headers lead, read as a browser reads them.

#include "net/web_address.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr char kBase[] = "http://Host.test:8080/a/b/c.html?q=1#f";
constexpr char kRoot[] = "http://Host.test:8080";

TEST(ResolveAddress, ReferencesOfEveryForm) {
  const std::string root = kRoot;
  const struct {
    const char* reference;
    std::optional<std::string> address;
  } cases[] = {
      {"http://x.test/p", "http://x.test/p"},
      {"HTTPS://x.test", "https://x.test/"},
      {"Http://x.test/p/../q#f", "http://x.test/q"},
      {"//other.test/z?y", "http://other.test/z?y"},
      {"/root?x", root + "/root?x"},
      {"?only", root + "/a/b/c.html?only"},
      {"#frag", root + "/a/b/c.html?q=1"},
      {"", root + "/a/b/c.html?q=1"},
      {"d.html", root + "/a/b/d.html"},
      {"d.html?", root + "/a/b/d.html?"},
      {"../d", root + "/a/d"},
      {"../../../../d", root + "/d"},  // never above the root
      {"./", root + "/a/b/"},
      {".", root + "/a/b/"},
      {"..", root + "/a/"},
      {"%2e%2e/x", root + "/a/x"},  // escaped dots are dots
      {"x/%2E/y", root + "/a/b/x/y"},
      {".%2e/.%2E/y", root + "/y"},
      {"a/./b/../c", root + "/a/b/a/c"},
      {"/a//b/", root + "/a//b/"},  // empty segments stay
      {"/.../x", root + "/.../x"},  // three dots are a name
      {"ftp://x/y", std::nullopt},
      {"mailto:a@b", std::nullopt},
      {"http:x", std::nullopt},
      {"http://", std::nullopt},
      {"//", std::nullopt},
      {"a\r\nLocation: b", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(resolve_address(kBase, c.reference), c.address) << "\"" << c.reference << "\"";
  }
}

TEST(ResolveAddress, OnlyFromAnHttpAddress) {
  EXPECT_EQ(resolve_address("http://h", "x"), "http://h/x") << "a base without a path";
  EXPECT_EQ(resolve_address("https://h/a/", "b"), "https://h/a/b");
  for (const char* base : {"", "h/x", "ftp://h/x", "http:/h/x", "http:///x", "http://h\x11/x"}) {
    EXPECT_EQ(resolve_address(base, "/x"), std::nullopt) << base;
  }
}

TEST(PathOfAddress, FromTheHostToTheQuery) {
  const struct {
    const char* address;
    const char* path;
  } cases[] = {{"http://h/p/q?x#y", "/p/q"}, {"http://h/", "/"},  {"http://h", ""},
               {"http://h?x/y", ""},         {"http://h#/y", ""}, {"h/p", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(path_of_address(c.address), c.path) << c.address;
  }
}

TEST(RedirectStatus, WhichAnswersSendTheCallOnAndWithWhat) {
  for (int status = 100; status < 600; ++status) {
    const bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    EXPECT_EQ(is_redirect_status(status), redirect) << status;
    EXPECT_EQ(redirect_keeps_method(status), status == 307 || status == 308) << status;
  }
}

}  // namespace
