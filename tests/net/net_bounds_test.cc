// The bounds of a web call: the page and download body collectors, the next wait of a page
// request and the declared length of a download.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "net/download_body.h"
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

TEST(DownloadBody, KeepsEveryByteUpToItsBoundAndGivesUpPastIt) {
  const struct {
    std::optional<uint64_t> declared;
    std::vector<std::string> pieces;
    bool whole;  // else given up
  } cases[] = {
      {std::nullopt, {"abc", std::string("\0de", 3), "fgh"}, true},  // 9 of 9
      {std::nullopt, {"abcdefghi", ""}, true},
      {std::nullopt, {"abcdefgh", "ij"}, false},
      {std::nullopt, {"abcdefghij"}, false},
      {9, {"abcdefghi"}, true},
      {10, {}, false},             // declared past the bound: given up before a byte
      {1, {"abcdefghij"}, false},  // a server sending more than it declared
      {0, {}, true},
  };
  for (const auto& c : cases) {
    DownloadBody body(9);
    std::string sent;
    bool taking = body.expect(c.declared);
    for (const std::string& piece : c.pieces) {
      if (!taking) break;
      taking = body.add(piece.data(), piece.size());
      sent += piece;
    }
    EXPECT_EQ(body.too_large(), !c.whole) << sent;
    EXPECT_EQ(body.take().str(), c.whole ? sent : "") << sent;
  }
}

TEST(DownloadBody, ALargeBodyInBlocksComesOutWholeAndInOrder) {
  // Pieces of odd sizes across several blocks, each byte telling where it belongs.
  const size_t total = 3 * DownloadBody::kBlockBytes + 12345;
  std::string expected(total, '\0');
  for (size_t i = 0; i < total; ++i) expected[i] = static_cast<char>(i * 7 + i / 251);
  for (const std::optional<uint64_t> declared :
       {std::optional<uint64_t>(), std::optional<uint64_t>(total)}) {
    DownloadBody body(total);
    ASSERT_TRUE(body.expect(declared));
    for (size_t at = 0, piece = 1; at < total; at += piece, piece = piece * 3 % 70001 + 1) {
      piece = std::min(piece, total - at);
      ASSERT_TRUE(body.add(expected.data() + at, piece));
    }
    EXPECT_EQ(body.size(), total);
    EXPECT_TRUE(body.take().str() == expected) << (declared ? "declared" : "undeclared");
  }
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
