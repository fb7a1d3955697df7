// Servers that answer slowly, never, without end, without a length or by redirecting for
// ever: both web routines end within their bounds and give what a time-out or a network
// failure gives. The bounds are shortened for the tests.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "net/fetch_binary.h"
#include "net/http_request.h"
#include "net/net_limits.h"
#include "standin_client.h"
#include "working_set.h"

namespace {

// Short bounds: a page call 3 s, 1.5 s per wait, 64 KiB; a download 3 s, 256 KiB.
NetLimits test_limits() {
  NetLimits limits = shipped_net_limits();
  limits.page_call_ms = 3000;
  limits.page_quiet_ms = 1500;
  limits.page_bytes = 64 * 1024;
  limits.download_call_ms = 3000;
  limits.download_bytes = 256 * 1024;
  return limits;
}
// Beyond a bound, a call may still take the time to notice and to close its handles.
constexpr ULONGLONG kSlackMs = 2500;

class WebBounds : public ::testing::Test {
 protected:
  // The first download of a process loads the request object's library and looks up its
  // class, which takes seconds in the 32-bit program under an emulated Wine: done once
  // here, so the times below are the calls' own.
  static void SetUpTestSuite() {
    if (standin::port() != 0) fetch_binary(standin::url("/files/101.rar"));
  }
  void SetUp() override {
    ASSERT_NE(standin::port(), 0) << "no stand-in web: run under CTest or with_standin.sh";
    set_net_limits_for_testing(test_limits());
  }
  void TearDown() override { set_net_limits_for_testing(shipped_net_limits()); }
};

// Milliseconds that `call` took.
template <typename Call>
ULONGLONG time_of(Call&& call) {
  const ULONGLONG start = GetTickCount64();
  call();
  return GetTickCount64() - start;
}

struct PageCase {
  const char* fault;   // mode, and parameters after "&"
  const char* expect;  // "" empty, "page" the whole page, "part" a proper start of it
};

// The result page of 100 hits for the keyword 批量: some 20 KB.
constexpr char kBigPage[] = "/s?wd=%C5%FA%C1%BF&rn=100";

TEST_F(WebBounds, PageRequestEndsInTimeAndGivesWhatATimeOutGives) {
  const std::string full = standin::plain_get(standin::port(), kBigPage).body;
  ASSERT_GT(full.size(), 16000u);
  const PageCase cases[] = {
      {"delay&ms=500", "page"},             // slow, but within every bound
      {"delay&ms=2500", ""},                // longer than one wait may last
      {"silent&ms=6000", ""},               // says nothing, then closes
      {"trickle-head&ms=400&bytes=8", ""},  // the headers take longer than a wait may last
      // 512 bytes every 0.7 s: each read completes, the call's time runs out first, and a
      // body cut off so gives what came.
      {"trickle&ms=700&bytes=512", "part"},
      {"drop", "part"},  // a body that stops early, too
      {"reset", ""},
  };
  for (const PageCase& c : cases) {
    const std::string target = std::string(kBigPage) + "&fault=" + c.fault;
    SCOPED_TRACE(target);
    std::string page;
    const ULONGLONG took = time_of([&] { page = http_request(standin::url(target)); });
    EXPECT_LT(took, test_limits().page_call_ms + kSlackMs) << "the call outlived its bound";
    const std::string expect = c.expect;
    if (expect == "page") {
      EXPECT_EQ(page, full);
    } else if (expect == "part") {
      EXPECT_FALSE(page.empty());
      EXPECT_LT(page.size(), full.size());
      EXPECT_EQ(full.rfind(page, 0), 0u) << "not the start of the page: " << page;
    } else {
      EXPECT_EQ(page, "");
    }
  }
}

TEST_F(WebBounds, PageRequestGivesUpABodyPastItsSize) {
  const char* targets[] = {
      "/fault/huge/x?bytes=33554432&rate=8388608",  // declares 32 MiB
      "/fault/endless/x?rate=8388608",              // declares nothing and never ends
      // In chunks, never ending. (WinInet reads on what it finds waiting of a chunked body
      // when the call closes it; a server that sends faster than that keeps a pool thread
      // reading until it pauses: hence the slower rate here.)
      "/fault/chunked-endless/x?rate=1048576",
  };
  for (const char* target : targets) {
    SCOPED_TRACE(target);
    std::string page = "untouched";
    const ULONGLONG took = time_of([&] { page = http_request(standin::url(target)); });
    EXPECT_EQ(page, "") << "past 64 KiB the call fails as on a network error";
    EXPECT_LT(took, test_limits().page_call_ms) << "the size bound, not the time, ended it";
  }
}

struct DownloadCase {
  const char* target;
  size_t size;  // bytes expected; 0 for the empty ByteSet
};

TEST_F(WebBounds, DownloadEndsInTimeAndGivesNothingOnATimeOut) {
  const DownloadCase cases[] = {
      {"/fault/delay/files/101.rar?ms=500", 1},  // the whole package
      {"/fault/silent/files/101.rar?ms=6000", 0},
      {"/fault/trickle/files/101.rar?ms=50", 0},
      {"/fault/trickle-head/files/101.rar?ms=400&bytes=8", 0},
      {"/fault/reset/files/101.rar", 0},
  };
  for (const DownloadCase& c : cases) {
    SCOPED_TRACE(c.target);
    ByteSet body;
    const ULONGLONG took = time_of([&] { body = fetch_binary(standin::url(c.target)); });
    EXPECT_LT(took, test_limits().download_call_ms + kSlackMs) << "the call outlived its bound";
    if (c.size == 0) {
      EXPECT_TRUE(body.empty()) << body.size() << " bytes";
    } else {
      EXPECT_EQ(body.str(), standin::plain_get(standin::port(), "/files/101.rar").body);
    }
  }
}

TEST_F(WebBounds, DownloadGivesUpABodyPastItsSize) {
  const DownloadCase cases[] = {
      {"/fault/huge/x?bytes=200000&rate=67108864", 200000},  // within 256 KiB
      {"/fault/huge/x?bytes=262144&rate=67108864", 262144},  // exactly the bound
      {"/fault/huge/x?bytes=262145&rate=67108864", 0},
      {"/fault/huge/x?rate=4194304", 0},  // declares 3 GiB: given up once the headers are in
      // Without a declared length the bound is checked as the bytes come.
      {"/fault/chunked-huge/x?bytes=262144&rate=67108864", 262144},
      {"/fault/chunked-huge/x?bytes=262145&rate=67108864", 0},
      {"/fault/chunked-endless/x?rate=8388608", 0},
      {"/fault/endless/x?rate=8388608", 0},  // ended by closing, which never comes
  };
  for (const DownloadCase& c : cases) {
    SCOPED_TRACE(c.target);
    ByteSet body;
    const ULONGLONG took = time_of([&] { body = fetch_binary(standin::url(c.target)); });
    EXPECT_EQ(body.size(), c.size);
    EXPECT_LT(took, test_limits().download_call_ms) << "the size, not the time, ended it";
  }
}

// The two routines side by side: the body as text, empty on any failure.
struct Routine {
  const char* name;
  std::function<std::string(const std::string&)> get;
};
const Routine kRoutines[] = {
    {"http_request", [](const std::string& url) { return http_request(url); }},
    {"fetch_binary", [](const std::string& url) { return fetch_binary(url).str(); }},
};

TEST_F(WebBounds, BodiesWithoutADeclaredLengthComeWhole) {
  for (const char* page : {"/soft/101.html", "/files/105.rar"}) {
    const std::string full = standin::plain_get(standin::port(), page).body;
    for (const char* fault : {"/fault/unsized", "/fault/chunked,bytes=100"}) {
      const std::string target = fault + std::string(page);
      EXPECT_EQ(fetch_binary(standin::url(target)).str(), full) << target;
      // The page request gives the text up to the first zero byte.
      EXPECT_EQ(http_request(standin::url(target)), full.substr(0, full.find('\0'))) << target;
    }
  }
}

TEST_F(WebBounds, RedirectsAreFollowedFiveTimesAtMost) {
  const struct {
    const char* prefix;
    bool reaches;  // the page at the end, else the empty result
    int requests;  // sent in all
  } cases[] = {
      {"/fault/redirect,hops=5", true, 6},
      {"/fault/redirect,hops=5,form=absolute", true, 6},
      {"/fault/redirect,hops=5,form=relative", true, 6},
      {"/fault/redirect,hops=2,code=301", true, 3},
      {"/fault/redirect,hops=2,code=303", true, 3},
      {"/fault/redirect,hops=2,code=307", true, 3},
      {"/fault/redirect,hops=2,code=308", true, 3},
      {"/fault/redirect,hops=6", false, 6},  // the sixth redirect is not followed
      {"/fault/redirect-loop", false, 6},
  };
  for (const Routine& routine : kRoutines) {
    for (const auto& c : cases) {
      const std::string tag = standin::unique_tag();
      const std::string target = c.prefix + std::string("/echo?") + tag;
      SCOPED_TRACE(std::string(routine.name) + " " + target);
      EXPECT_EQ(routine.get(standin::url(target)), c.reaches ? "echo" : "");
      EXPECT_EQ(standin::recorded_count(tag), c.requests);
    }
  }
}

TEST_F(WebBounds, AnEndlessBodyTakesNoMoreMemoryThanItsBound) {
  NetLimits limits = test_limits();
  limits.download_bytes = size_t{24} << 20;
  limits.download_call_ms = 20000;
  set_net_limits_for_testing(limits);
  for (const char* target :
       {"/fault/chunked-endless/x?rate=268435456", "/fault/endless/x?rate=268435456"}) {
    SCOPED_TRACE(target);
    ByteSet body;
    ULONGLONG took = 0;
    const MemoryDuring memory =
        memory_during([&] { took = time_of([&] { body = fetch_binary(standin::url(target)); }); });
    EXPECT_TRUE(body.empty());
    EXPECT_LT(took, limits.download_call_ms) << "the size, not the time, ended it";
    const size_t growth = memory.peak - memory.before;
    EXPECT_LT(growth, limits.download_bytes + (size_t{16} << 20))
        << "grew by " << growth / 1024 << " KiB";
  }
}

// With the shipped bounds: a package of exactly the largest size comes back whole and in
// order, one byte more comes back as nothing. In the shipped 32-bit program the body and
// everything else of the process share 2 GB of address space.
TEST_F(WebBounds, DownloadAtTheShippedSizeBoundComesBackWhole) {
  set_net_limits_for_testing(shipped_net_limits());
  const size_t bound = shipped_net_limits().download_bytes;
  const std::string target = "/fault/huge/x?rate=1073741824&bytes=";
  const ByteSet body = fetch_binary(standin::url(target + std::to_string(bound)));
  ASSERT_EQ(body.size(), bound);
  // The stand-in sends the bytes 1 to 255 over and over.
  size_t misplaced = 0;
  for (size_t i = 0; i < bound; i += 4093) misplaced += body[i] != i % 255 + 1;
  EXPECT_EQ(body[bound - 1], (bound - 1) % 255 + 1);
  EXPECT_EQ(misplaced, 0u) << "bytes out of place";
  EXPECT_TRUE(fetch_binary(standin::url(target + std::to_string(bound + 1))).empty());
}

TEST_F(WebBounds, GivenUpPageRequestsFinishInTheBackground) {
  // A call that stopped waiting leaves WinInet to end its request; what they shared goes
  // when WinInet says the handle is closed.
  // Given up after 1.5 s; the server hangs up after 3 s, and only then can WinInet end.
  EXPECT_EQ(http_request(standin::url("/fault/silent/echo?ms=3000")), "");
  EXPECT_GE(page_requests_in_flight(), 1) << "the call returned before WinInet was done";
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (page_requests_in_flight() != 0 && GetTickCount64() < deadline) Sleep(50);
  EXPECT_EQ(page_requests_in_flight(), 0) << "a request's shared state was never released";
}

TEST_F(WebBounds, GivenUpDownloadsFinishInTheBackground) {
  EXPECT_TRUE(fetch_binary(standin::url("/fault/silent/echo?ms=4000")).empty());
  EXPECT_GE(downloads_in_flight(), 1) << "the call returned before WinHttp was done";
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (downloads_in_flight() != 0 && GetTickCount64() < deadline) Sleep(50);
  EXPECT_EQ(downloads_in_flight(), 0) << "a download's shared state was never released";
}

}  // namespace
