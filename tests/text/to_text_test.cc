// to_text for every kind of value, and hex_text.

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

TEST(ToText, Integers) {
  EXPECT_EQ(to_text(uint8_t{255}), "255");
  EXPECT_EQ(to_text(int16_t{-32768}), "-32768");
  EXPECT_EQ(to_text(int32_t{INT_MIN}), "-2147483648");
  EXPECT_EQ(to_text(int32_t{0}), "0");
  EXPECT_EQ(to_text(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

TEST(ToText, TextsStayTexts) {
  EXPECT_EQ(to_text("中abc"), "中abc");  // not taken for a truth value
  EXPECT_EQ(to_text(std::string("x")), "x");
  EXPECT_EQ(to_text(static_cast<const char*>(nullptr)), "");
}

struct DoubleCase {
  double value;
  const char* expected;
};

TEST(ToText, Doubles) {
  const double inf = std::numeric_limits<double>::infinity();
  const DoubleCase cases[] = {
      {1.0 / 3, "0.3333333333333"},
      {2.5, "2.5"},
      {100.0, "100"},
      {-0.5, "-0.5"},
      {1234567890123.0, "1234567890123"},
      {1e13, "1e+13"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {123456.7890123456, "123456.7890123"},
      {0.0, "0"},
      {inf, "inf"},
      {-inf, "-inf"},
      {std::nan(""), "nan"},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(to_text(c.value), c.expected) << c.expected;
}

TEST(ToText, Floats) {
  EXPECT_EQ(to_text(3.14159265f), "3.14159");
  EXPECT_EQ(to_text(0.1f), "0.1");
  EXPECT_EQ(to_text(1e20f), "1e+20");
  EXPECT_EQ(to_text(123456.0f), "123456");
  EXPECT_EQ(to_text(1234567.0f), "1.23457e+06");
}

TEST(ToText, TruthValues) {
  EXPECT_EQ(to_text(true), "真");
  EXPECT_EQ(to_text(false), "假");
}

TEST(ToText, DateTimes) {
  const struct {
    DateTime value;
    const char* expected;
  } cases[] = {
      {DateTime{0}, "1899年12月30日"},
      {make_date_time(2024, 3, 5, 14, 7, 9), "2024年3月5日14时7分9秒"},
      {make_date_time(2024, 3, 5, 14, 7, 0), "2024年3月5日14时7分"},
      {make_date_time(2024, 3, 5, 14, 0, 0), "2024年3月5日14时"},
      {make_date_time(2024, 3, 5, 0, 7, 0), "2024年3月5日0时7分"},
      {make_date_time(2024, 3, 5, 0, 0, 9), "2024年3月5日0时0分9秒"},
      {make_date_time(2024, 3, 5), "2024年3月5日"},
  };
  for (const auto& c : cases) EXPECT_EQ(to_text(c.value), c.expected);
}

TEST(ToText, ByteSetsStopAtTheFirstZero) {
  const struct {
    ByteSet bytes;
    const char* expected;
  } cases[] = {
      {ByteSet("ab\0c", 4), "ab"},
      {ByteSet("\0a", 2), ""},
      {ByteSet(), ""},
      {ByteSet("\xD6\xD0", 2), "中"},
  };
  for (const auto& c : cases) EXPECT_EQ(to_text(c.bytes), c.expected);
}

TEST(HexText, Table) {
  const struct {
    int32_t value;
    const char* expected;
  } cases[] = {{0, "0"},         {255, "FF"},           {0x1A2B, "1A2B"},
               {-1, "FFFFFFFF"}, {INT_MIN, "80000000"}, {INT_MAX, "7FFFFFFF"}};
  for (const auto& c : cases) EXPECT_EQ(hex_text(c.value), c.expected) << c.value;
}

}  // namespace
