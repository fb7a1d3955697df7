// The bounds of a web call: the page body collector, the next wait of a page request and
// the declared length of a download.

#include <gtest/gtest.h>

#include <string>

#include "net/net_limits.h"
#include "net/page_body.h"

namespace {

TEST(PageBody, CollectsUpToTheFirstZeroByteAndStopsThere) {
  PageBody body(100);
  EXPECT_TRUE(body.add("abc", 3));
  EXPECT_FALSE(body.add("de\0fg", 5)) << "nothing after a zero byte can change the page";
  EXPECT_FALSE(body.wants_more());
  EXPECT_FALSE(body.add("more", 4));
  EXPECT_EQ(body.text(), "abcde");
  EXPECT_FALSE(body.too_large());
}

TEST(PageBody, ABodyPastItsBoundGivesNothing) {
  PageBody body(8);
  EXPECT_TRUE(body.add("12345", 5));
  EXPECT_TRUE(body.add("678", 3)) << "exactly the bound is still a page";
  EXPECT_EQ(body.text(), "12345678");
  EXPECT_FALSE(body.add("9", 1));
  EXPECT_TRUE(body.too_large());
  EXPECT_EQ(body.text(), "");
}

TEST(PageBody, AZeroByteBeforeTheBoundEndsTheBodyInTime) {
  PageBody body(4);
  EXPECT_FALSE(body.add("ab\0cdefgh", 9)) << "bytes after the zero byte don't count";
  EXPECT_FALSE(body.too_large());
  EXPECT_EQ(body.text(), "ab");
}

TEST(PageBody, EmptyPiecesAndAnEmptyBody) {
  PageBody body(4);
  EXPECT_TRUE(body.add("", 0));
  EXPECT_EQ(body.text(), "");
  PageBody starts_with_zero(4);
  EXPECT_FALSE(starts_with_zero.add("\0x", 2));
  EXPECT_EQ(starts_with_zero.text(), "");
}

TEST(NextPageWait, NeverPastTheQuietTimeNorTheEndOfTheCall) {
  NetLimits limits = shipped_net_limits();
  limits.page_call_ms = 30000;
  limits.page_quiet_ms = 18000;
  const struct {
    uint64_t elapsed;
    uint32_t wait;
  } cases[] = {{0, 18000}, {11999, 18000}, {12000, 18000}, {20000, 10000},
               {29999, 1}, {30000, 0},     {45000, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(next_page_wait(c.elapsed, limits), c.wait) << c.elapsed << " ms into the call";
  }
}

TEST(ShippedNetLimits, AreInForceUnlessATestSetsOthers) {
  const NetLimits shipped = shipped_net_limits();
  EXPECT_EQ(shipped.page_call_ms, 30000u);
  EXPECT_EQ(shipped.page_quiet_ms, 18000u) << "the page request's own time-outs";
  EXPECT_EQ(shipped.page_bytes, size_t{16} << 20);
  EXPECT_EQ(shipped.download_call_ms, 60000u);
  EXPECT_EQ(shipped.download_bytes, size_t{64} << 20);
  EXPECT_EQ(net_limits().page_call_ms, shipped.page_call_ms);

  NetLimits short_ones = shipped;
  short_ones.page_call_ms = 500;
  set_net_limits_for_testing(short_ones);
  EXPECT_EQ(net_limits().page_call_ms, 500u);
  set_net_limits_for_testing(shipped);
}

TEST(DeclaredLength, DigitsWithBlanksAroundThemAndNothingElse) {
  const struct {
    const char* value;
    std::optional<uint64_t> length;
  } cases[] = {
      {"0", 0},
      {"1234", 1234},
      {" 56 ", 56},
      {"\t7", 7},
      {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt},  // past 64 bits
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {"12 34", std::nullopt},
      {"12, 12", std::nullopt},
      {"0x10", std::nullopt},
      {"１２", std::nullopt},  // full-width digits are no length
  };
  for (const auto& c : cases) {
    EXPECT_EQ(declared_length(c.value), c.length) << "value \"" << c.value << "\"";
  }
}

}  // namespace
