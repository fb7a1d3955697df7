// The download over WinHttp against the stand-in web.

#include "net/fetch_binary.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "standin_client.h"

namespace {

class FetchBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::port(), 0) << "no stand-in web: run under CTest or with_standin.sh";
  }
};

TEST_F(FetchBinary, SendsOneGetWithItsUserAgent) {
  const std::string tag = standin::unique_tag();
  EXPECT_EQ(fetch_binary(standin::url("/echo?" + tag)).str(), "echo");
  const std::string raw = standin::recorded_request(tag);
  EXPECT_EQ(raw.substr(0, raw.find("\r\n")), "GET /echo?" + tag + " HTTP/1.1");
  EXPECT_NE(raw.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)\r\n"),
            std::string::npos)
      << raw;
}

TEST_F(FetchBinary, BodiesComeBackWholeZeroBytesIncluded) {
  EXPECT_EQ(fetch_binary(standin::url("/zero")).str(), std::string("zero-before\0zero-after", 22));
  const standin::Answer package = standin::plain_get(standin::port(), "/files/105.rar");
  ASSERT_TRUE(package.ok);
  ASSERT_NE(package.body.find('\0'), std::string::npos) << "this package holds zero bytes";
  EXPECT_EQ(fetch_binary(standin::url("/files/105.rar")).str(), package.body);
  const standin::Answer page = standin::plain_get(standin::port(), "/soft/103.html");
  EXPECT_EQ(fetch_binary(standin::url("/soft/103.html")).str(), page.body)
      << "GBK bytes unconverted";
}

TEST_F(FetchBinary, AnErrorPageIsReturnedLikeAnyOtherWithItsStatus) {
  const struct {
    const char* target;
    const char* page;  // what a plain GET of it gives
    int status;
  } cases[] = {
      {"/soft/101.html", "/soft/101.html", 200},
      {"/no/such/page", "/no/such/page", 404},
      {"/fault/status,code=500/soft/101.html", "/soft/101.html", 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    const std::string expected = standin::plain_get(standin::port(), c.page).body;
    ASSERT_FALSE(expected.empty());
    const WebAnswer answer = fetch_answer(standin::url(c.target));
    EXPECT_EQ(answer.status, c.status);
    EXPECT_EQ(answer.succeeded(), c.status / 100 == 2);
    EXPECT_EQ(answer.body.str(), expected) << "the body whatever the status";
    EXPECT_EQ(fetch_binary(standin::url(c.target)).str(), expected);
  }
  const WebAnswer none =
      fetch_answer("http://127.0.0.1:" + std::to_string(standin::unused_port()) + "/soft/101.html");
  EXPECT_EQ(none.status, 0) << "no answer, no status";
  EXPECT_FALSE(none.succeeded());
}

TEST_F(FetchBinary, FailuresGiveTheEmptyByteSet) {
  const std::string unreachable =
      "http://127.0.0.1:" + std::to_string(standin::unused_port()) + "/x";
  const char* addresses[] = {"", "not an address", "ftp://127.0.0.1/x", "http://", "http://:0/"};
  for (const char* address : addresses) {
    EXPECT_TRUE(fetch_binary(address).empty()) << "address \"" << address << "\"";
  }
  EXPECT_TRUE(fetch_binary(unreachable).empty()) << "nothing listens at " << unreachable;
}

TEST_F(FetchBinary, TwoCallsInARowOnOneWorkerThread) {
  ByteSet first, second;
  std::thread worker([&] {
    first = fetch_binary(standin::url("/notice.html"));
    second = fetch_binary(standin::url("/files/101.rar"));
  });
  worker.join();
  EXPECT_NE(first.view().find("10001"), std::string::npos);
  EXPECT_EQ(second.str(), standin::plain_get(standin::port(), "/files/101.rar").body);
}

TEST_F(FetchBinary, SeveralThreadsAtOnce) {
  constexpr int kThreads = 6, kCalls = 4;
  std::vector<ByteSet> bodies(kThreads * kCalls);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i) {
        bodies[t * kCalls + i] =
            fetch_binary(standin::url("/files/" + std::to_string(101 + t) + ".rar"));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    const std::string expected =
        standin::plain_get(standin::port(), "/files/" + std::to_string(101 + t) + ".rar").body;
    for (int i = 0; i < kCalls; ++i) {
      EXPECT_EQ(bodies[t * kCalls + i].str(), expected) << "thread " << t << ", call " << i;
    }
  }
}

}  // namespace
