// The byte-set operations keep zero bytes and clamp their counts.

#include <climits>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

TEST(ByteOps, TextToBytesHasNoTerminatingZero) {
  EXPECT_EQ(text_to_bytes("中a"), ByteSet("\xD6\xD0"
                                          "a",
                                          3));
  EXPECT_EQ(bytes_length(text_to_bytes("")), 0);
}

TEST(ByteOps, LeftBytes) {
  const ByteSet bytes("a\0b", 3);
  const struct {
    int n;
    ByteSet expected;
  } cases[] = {{2, ByteSet("a\0", 2)}, {3, bytes},     {9, bytes},
               {INT_MAX, bytes},       {0, ByteSet()}, {INT_MIN, ByteSet()}};
  for (const auto& c : cases) EXPECT_EQ(left_bytes(bytes, c.n), c.expected) << c.n;
}

TEST(ByteOps, ZeroBytes) {
  EXPECT_EQ(zero_bytes(3), ByteSet("\0\0\0", 3));
  EXPECT_EQ(bytes_length(zero_bytes(3)), 3);
  EXPECT_TRUE(zero_bytes(0).empty());
  EXPECT_TRUE(zero_bytes(INT_MIN).empty());
}

TEST(ByteOps, JoinBytes) {
  EXPECT_EQ(join_bytes(ByteSet("a\0", 2), ByteSet(), ByteSet("b", 1)), ByteSet("a\0b", 3));
  EXPECT_EQ(join_bytes(), ByteSet());
}

}  // namespace
