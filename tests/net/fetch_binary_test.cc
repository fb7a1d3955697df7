// The download through the WinHttp request object against the stand-in web.

#include "net/fetch_binary.h"

#include <windows.h>

#include <objbase.h>

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

TEST_F(FetchBinary, AnErrorPageIsReturnedLikeAnyOther) {
  const standin::Answer expected = standin::plain_get(standin::port(), "/no/such/page");
  ASSERT_EQ(expected.head.rfind("HTTP/1.1 404", 0), 0u);
  EXPECT_EQ(fetch_binary(standin::url("/no/such/page")).str(), expected.body);
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
  HRESULT com_after = S_OK;
  std::thread worker([&] {
    first = fetch_binary(standin::url("/notice.html"));
    second = fetch_binary(standin::url("/files/101.rar"));
    // COM was closed after each call: setting it up now is a first time again.
    com_after = CoInitialize(nullptr);
    if (SUCCEEDED(com_after)) CoUninitialize();
  });
  worker.join();
  EXPECT_NE(first.view().find("10001"), std::string::npos);
  EXPECT_EQ(second.str(), standin::plain_get(standin::port(), "/files/101.rar").body);
  EXPECT_EQ(com_after, S_OK) << "each call closes the COM it opened";
}

TEST_F(FetchBinary, LeavesAThreadsOwnComAlone) {
  HRESULT after = E_FAIL;
  ByteSet body;
  std::thread worker([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    body = fetch_binary(standin::url("/echo"));
    after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_FALSE: still set up
    CoUninitialize();
    CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(body.str(), "echo") << "a thread of another COM model can still download";
  EXPECT_EQ(after, S_FALSE) << "the thread's own COM stays set up";
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
