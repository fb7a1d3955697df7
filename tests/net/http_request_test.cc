// The page request against the stand-in web: what goes out on the wire (request line and
// header text as the stand-in recorded them) and what comes back.

#include "net/http_request.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "net/http_headers.h"
#include "standin_client.h"

namespace {

// The recorded request that carries `tag` in an extra header line.
std::string sent_with(const std::string& tag) {
  return standin::recorded_request("X-Test: " + tag + "\r\n");
}
std::string tag_line(const std::string& tag) {
  return "X-Test: " + tag + "\r\n";
}
std::string request_line(const std::string& raw) {
  return raw.substr(0, raw.find("\r\n"));
}
std::string body_of(const std::string& raw) {
  const size_t split = raw.find("\r\n\r\n");
  return split == std::string::npos ? std::string() : raw.substr(split + 4);
}
bool has_line(const std::string& raw, const std::string& line) {
  return raw.find("\r\n" + line + "\r\n") != std::string::npos;
}

class HttpRequest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::port(), 0) << "no stand-in web: run under CTest or with_standin.sh";
  }
};

TEST_F(HttpRequest, AddressWithPortAndQueryReachesThatPortAndObject) {
  const std::string tag = standin::unique_tag();
  const std::string address =
      "HTTP://127.0.0.1:" + std::to_string(standin::port()) + "/echo/a/b?x=1";
  EXPECT_EQ(http_request(address, "", std::nullopt, tag_line(tag)), "echo");
  const std::string raw = sent_with(tag);
  EXPECT_EQ(request_line(raw), "GET /echo/a/b?x=1 HTTP/1.1");
  EXPECT_TRUE(has_line(raw, "Host: 127.0.0.1:" + std::to_string(standin::port()))) << raw;
}

TEST_F(HttpRequest, AddressWithoutPathAsksForTheRoot) {
  const std::string tag = standin::unique_tag();
  http_request("127.0.0.1:" + std::to_string(standin::port()), "", std::nullopt, tag_line(tag));
  EXPECT_EQ(request_line(sent_with(tag)), "GET / HTTP/1.1");
}

TEST_F(HttpRequest, PlainGetSendsTheDefaultLinesInOrder) {
  const std::string tag = standin::unique_tag();
  const std::string address = standin::url("/echo?plain");
  http_request(address, "", std::nullopt, tag_line(tag));
  const std::string raw = sent_with(tag);
  const std::string expected =
      tag_line(tag) + kDefaultAcceptLine + "Referer: " + address + "\r\n" + kDefaultLanguageLine;
  EXPECT_NE(raw.find(expected), std::string::npos)
      << "the caller's line, then Accept, Referer and language, together; sent:\n"
      << raw;
  EXPECT_TRUE(has_line(raw, std::string("User-Agent: ") + kPageUserAgent)) << raw;
  EXPECT_EQ(body_of(raw), "");
}

TEST_F(HttpRequest, AnAcceptLineInOtherCaseStopsOnlyTheDefaultAccept) {
  const std::string tag = standin::unique_tag();
  const std::string address = standin::url("/echo");
  http_request(address, "", std::nullopt, "accept: text/html\r\n" + tag_line(tag));
  const std::string raw = sent_with(tag);
  EXPECT_EQ(raw.find("image/gif"), std::string::npos) << "no default Accept line:\n" << raw;
  EXPECT_NE(raw.find("accept: text/html\r\n"), std::string::npos) << raw;
  EXPECT_TRUE(has_line(raw, "Referer: " + address)) << raw;
  EXPECT_TRUE(has_line(raw, "Accept-Language: zh-cn")) << raw;
}

TEST_F(HttpRequest, VerbsAndBodies) {
  const struct {
    const char* method;
    const char* data;
    const char* verb;
    const char* body;
    bool form_lines;
  } cases[] = {
      {"POST", "", "POST", "", false},  // no body, no form lines
      {"POST", "a=1&b=%D6%D0", "POST", "a=1&b=%D6%D0", true},
      {"post", "k=v", "post", "k=v", true},  // the verb as written
      {"PUT", "k=v", "GET", "", false},      // anything but POST gets
      {"", "k=v", "GET", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("method \"") + c.method + "\" with \"" + c.data + "\"");
    const std::string tag = standin::unique_tag();
    EXPECT_EQ(http_request(standin::url("/echo"), c.method, std::nullopt, tag_line(tag), c.data),
              "echo");
    const std::string raw = sent_with(tag);
    EXPECT_EQ(request_line(raw), std::string(c.verb) + " /echo HTTP/1.1");
    EXPECT_EQ(body_of(raw), c.body);
    EXPECT_EQ(has_line(raw, "Content-Type: application/x-www-form-urlencoded"), c.form_lines)
        << raw;
    if (c.form_lines) {
      EXPECT_TRUE(has_line(raw, "Content-Length: " + std::to_string(std::string(c.data).size())))
          << raw;
    }
  }
}

TEST_F(HttpRequest, ARedirectedPostGoesOnAsAGetUnlessThe307Or308Keeps) {
  const struct {
    int code;
    const char* verb;
    const char* body;
  } cases[] = {{301, "GET", ""},
               {302, "GET", ""},
               {303, "GET", ""},
               {307, "POST", "k=v"},
               {308, "POST", "k=v"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const std::string tag = standin::unique_tag();
    const std::string address =
        standin::url("/fault/redirect,code=" + std::to_string(c.code) + "/echo");
    EXPECT_EQ(http_request(address, "POST", std::nullopt, tag_line(tag), "k=v"), "echo");
    const std::string raw = sent_with(tag);  // the last of the two
    EXPECT_EQ(request_line(raw), std::string(c.verb) + " /echo HTTP/1.1");
    EXPECT_EQ(body_of(raw), c.body);
    EXPECT_TRUE(has_line(raw, "Referer: " + address)) << "the caller's address, as first sent";
  }
}

TEST_F(HttpRequest, BodiesComeBackAsTextUpToTheirFirstZeroByte) {
  EXPECT_EQ(http_request(standin::url("/zero")), "zero-before");
  const std::string detail = http_request(standin::url("/soft/101.html"));
  EXPECT_NE(detail.find("<th>\xC6\xC0\xC2\xDB\xB5\xC8\xBC\xB6\xA3\xBA</th>"), std::string::npos)
      << "GBK bytes unconverted (评论等级：)";
  EXPECT_GT(detail.size(), 512u) << "a body of several reads";
  EXPECT_EQ(detail.substr(detail.size() - 7), "</html>");
}

TEST_F(HttpRequest, AnErrorPageIsReturnedLikeAnyOther) {
  const std::string page = http_request(standin::url("/no/such/page"));
  EXPECT_NE(page.find("404"), std::string::npos) << page;
  EXPECT_NE(page.find("</html>"), std::string::npos) << page;
}

TEST_F(HttpRequest, AnUnreachableHostGivesTheEmptyText) {
  std::string headers;
  EXPECT_EQ(http_request("http://127.0.0.1:" + std::to_string(standin::unused_port()) + "/x", "",
                         std::nullopt, "", "", &headers),
            "");
  EXPECT_EQ(headers.find("HTTP/"), std::string::npos) << "no answer, no status line: " << headers;
}

TEST_F(HttpRequest, ResponseHeadersWhenAsked) {
  std::string headers;
  EXPECT_EQ(http_request(standin::url("/echo"), "", std::nullopt, "", "", &headers), "echo");
  EXPECT_EQ(headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << headers;
  EXPECT_NE(headers.find("Content-Length: 4\r\n"), std::string::npos) << headers;
  EXPECT_EQ(headers.substr(headers.size() - 4), "\r\n\r\n") << headers;

  std::string big;
  EXPECT_EQ(http_request(standin::url("/bigheaders"), "", std::nullopt, "", "", &big), "big");
  EXPECT_EQ(big, std::string(1024, ' ')) << "a block past the 1024-byte buffer";
}

TEST_F(HttpRequest, ThroughAProxy) {
  // The stand-in answers a request for a full address as a proxy would.
  const std::string tag = standin::unique_tag();
  const std::string proxy = "127.0.0.1:" + std::to_string(standin::port());
  EXPECT_EQ(http_request("http://far-away.invalid/echo/proxied", "", proxy, tag_line(tag)), "echo");
  // The full address, as a proxy is asked (WinInet names the port in it).
  const std::string line = request_line(sent_with(tag));
  EXPECT_EQ(line.rfind("GET http://far-away.invalid", 0), 0u) << line;
  EXPECT_NE(line.find("/echo/proxied HTTP/1.1"), std::string::npos) << line;
}

TEST_F(HttpRequest, TwoCallsInARowOnOneWorkerThread) {
  std::string first, second;
  std::thread worker([&] {
    first = http_request(standin::url("/notice.html"));
    second = http_request(standin::url("/notice-twice.html"));
  });
  worker.join();
  EXPECT_NE(first.find("10001"), std::string::npos) << first;
  EXPECT_NE(second.find("20002"), std::string::npos) << second;
}

TEST_F(HttpRequest, SeveralThreadsAtOnce) {
  constexpr int kThreads = 6, kCalls = 5;
  std::vector<std::string> pages(kThreads * kCalls);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i) {
        pages[t * kCalls + i] =
            http_request(standin::url("/soft/" + std::to_string(101 + t) + ".html"));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kCalls; ++i) {
      const std::string& page = pages[t * kCalls + i];
      EXPECT_NE(page.find("down/" + std::to_string(101 + t) + ".html"), std::string::npos)
          << "thread " << t << ", call " << i << " got the wrong page or none";
    }
  }
}

}  // namespace
