// What a page request sends: verb, completed header text and body, settled without a
// network; and the response-header buffer rule.

#include "net/http_headers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kUrl[] = "http://Host.example:8080/a/b?x=1";

std::string referer_line() {
  return std::string("Referer: ") + kUrl + "\r\n";
}

TEST(SettleMethod, PostInAnyCaseStaysAsWrittenEverythingElseGets) {
  const struct {
    const char* method;
    const char* verb;
  } cases[] = {
      {"POST", "POST"}, {"post", "post"}, {"PoSt", "PoSt"}, {"", "GET"},      {"GET", "GET"},
      {"get", "GET"},   {"PUT", "GET"},   {"POST ", "GET"}, {" POST", "GET"}, {"POSTS", "GET"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(settle_method(c.method), c.verb) << "method \"" << c.method << "\"";
  }
}

TEST(CompleteRequestHeaders, DefaultsFollowTheCallersLinesInOrder) {
  const std::string defaults =
      std::string(kDefaultAcceptLine) + referer_line() + kDefaultLanguageLine;
  const struct {
    const char* headers;
    std::string expected;
  } cases[] = {
      // A plain request: the three default lines, Accept, Referer, language.
      {"", defaults},
      // A line of the same name in other letter case stops only its own default.
      {"accept: text/html\r\n", "accept: text/html\r\n" + referer_line() + kDefaultLanguageLine},
      {"REFERER: http://elsewhere/\r\n",
       "REFERER: http://elsewhere/\r\n" + std::string(kDefaultAcceptLine) + kDefaultLanguageLine},
      {"Accept-Language: en\r\n",
       // "Accept-Language: " does not hold "Accept: ", so the Accept line is still added.
       "Accept-Language: en\r\n" + std::string(kDefaultAcceptLine) + referer_line()},
      {"Accept: */*\r\nReferer: r\r\naccept-language: de\r\n",
       "Accept: */*\r\nReferer: r\r\naccept-language: de\r\n"},
      // The names are looked for anywhere, also inside another line's value.
      {"X-Note: Referer: none\r\n",
       "X-Note: Referer: none\r\n" + std::string(kDefaultAcceptLine) + kDefaultLanguageLine},
      // Without the blank after the colon the name does not count.
      {"Accept:text/html\r\n", "Accept:text/html\r\n" + defaults},
      // Lines without their line break are taken as they are.
      {"Cookie: a=1", "Cookie: a=1" + defaults},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(complete_request_headers(c.headers, kUrl), c.expected)
        << "caller's lines \"" << c.headers << "\"";
  }
}

TEST(CompleteRequestHeaders, RefererNamesTheAddressAsGiven) {
  EXPECT_EQ(complete_request_headers("Accept: a\r\nAccept-Language: b\r\n", "host/p?q=\xD6\xD0"),
            "Accept: a\r\nAccept-Language: b\r\nReferer: host/p?q=\xD6\xD0\r\n");
}

TEST(PlanPageRequest, VerbBodyAndFormLines) {
  const std::string defaults =
      std::string(kDefaultAcceptLine) + referer_line() + kDefaultLanguageLine;
  const std::string form = std::string(kFormTypeLine) + "Content-Length: 7\r\n";
  const struct {
    const char* method;
    const char* post_data;
    const char* verb;
    std::string headers;
    const char* body;
  } cases[] = {
      {"", "", "GET", defaults, ""},
      // Data of a GET is not sent.
      {"GET", "a=1&b=2", "GET", defaults, ""},
      {"PUT", "a=1&b=2", "GET", defaults, ""},
      // A POST without data sends no body and no form lines.
      {"POST", "", "POST", defaults, ""},
      {"POST", "a=1&b=2", "POST", defaults + form, "a=1&b=2"},
      {"post", "a=1&b=2", "post", defaults + form, "a=1&b=2"},
  };
  for (const auto& c : cases) {
    const PageRequest plan = plan_page_request(kUrl, c.method, "", c.post_data);
    EXPECT_EQ(plan.verb, c.verb) << c.method << " with \"" << c.post_data << "\"";
    EXPECT_EQ(plan.headers, c.headers) << c.method << " with \"" << c.post_data << "\"";
    EXPECT_EQ(plan.body, c.body) << c.method << " with \"" << c.post_data << "\"";
  }
}

TEST(PlanPageRequest, FormLinesAreAddedEvenWhenTheCallerHasSuchLines) {
  const PageRequest plan =
      plan_page_request(kUrl, "POST", "Content-Type: text/plain\r\n", "\xD6\xD0=1");
  EXPECT_EQ(plan.headers, "Content-Type: text/plain\r\n" + std::string(kDefaultAcceptLine) +
                              referer_line() + kDefaultLanguageLine + kFormTypeLine +
                              "Content-Length: 4\r\n")
      << "the length counts GBK bytes, and the caller's type line stays";
}

TEST(FitResponseHeaders, BlocksThatDoNotFitTheBufferGiveItsBlanks) {
  const std::string blanks(1024, ' ');
  EXPECT_EQ(fit_response_headers("HTTP/1.1 200 OK\r\n\r\n"), "HTTP/1.1 200 OK\r\n\r\n");
  EXPECT_EQ(fit_response_headers(std::string(1023, 'h')), std::string(1023, 'h'))
      << "1023 bytes and the terminating zero fill the buffer exactly";
  EXPECT_EQ(fit_response_headers(std::string(1024, 'h')), blanks);
  EXPECT_EQ(fit_response_headers(std::string(5000, 'h')), blanks);
  EXPECT_EQ(fit_response_headers(""), "");
}

}  // namespace
