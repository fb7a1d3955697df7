// Reading numbers from texts and turning doubles into integers, out-of-range inputs included.

#include <climits>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ToNumber, Table) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"123", 123},
      {"  -12.5e2xyz", -1250},
      {"+.5", 0.5},
      {"5.", 5},
      {".", 0},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"1e", 1},
      {"1e+", 1},
      {"1e+2", 100},
      {"2E-1", 0.2},
      {"12abc", 12},
      {"0x1A", 0},
      {"inf", 0},
      {"nan", 0},
      {"\t\n 7", 7},
      {"１２３", 123},
      {"　１．５", 1.5},
      {"－３", -3},
      {"1e999", kInf},
      {"-1e999", -kInf},
      {"1e-999", 0},
      {"0e999999", 0},
      {"0.0000000000000000000000000000000001e-400", 0},
      {"\xB0"
       "1",
       0},  // '1' as a second byte is no digit
  };
  for (const auto& c : cases) EXPECT_EQ(to_number(c.text), c.expected) << c.text;
}

TEST(ToIntegerOfText, Table) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {
      {"123", 123},
      {" -45x", -45},
      {"+7", 7},
      {"12.9", 12},
      {"1e5", 1},
      {"", 0},
      {"abc", 0},
      {"１２", 12},
      {"　－８", -8},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-99999999999999999999", INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(to_integer(c.text), c.expected) << c.text;
}

TEST(ToIntegerOfNumber, Table) {
  const struct {
    double value;
    int expected;
  } cases[] = {
      {3.9, 3},
      {-3.9, -3},
      {1e300, INT_MAX},
      {-1e300, INT_MIN},
      {kNaN, 0},
      {kInf, INT_MAX},
      {-kInf, INT_MIN},
      {2147483647.9, INT_MAX},
      {-2147483648.9, INT_MIN},
      {0.0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(to_integer(c.value), c.expected) << c.value;
  EXPECT_EQ(to_integer(2.5f), 2);
}

TEST(FloorToInt, Table) {
  const struct {
    double value;
    int expected;
  } cases[] = {
      {2.5, 2},    {-2.5, -3},           {3.0, 3},
      {-0.5, -1},  {2.9999999999999, 3}, {-2.9999999999999, -3},
      {2.9999, 2}, {1e300, INT_MAX},     {-1e300, INT_MIN},
      {kNaN, 0},   {kInf, INT_MAX},      {-kInf, INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(floor_to_int(c.value), c.expected) << c.value;
}

TEST(RoundNumber, Table) {
  const struct {
    double value;
    int decimals;
    double expected;
  } cases[] = {
      {2.5, 0, 3},      {-2.5, 0, -3},      {2.4, 0, 2},
      {1.005, 2, 1.01}, {0.125, 2, 0.13},   {1234.5, -2, 1200},
      {1250, -2, 1300}, {-1250, -2, -1300}, {1e300, 2, 1e300},
      {kInf, 0, kInf},  {1.5, 400, 1.5},    {1.5, INT_MAX, 1.5},
      {1.5, -400, 0},   {1.5, INT_MIN, 0},  {1.7e308, -308, 1.7e308},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(round_number(c.value, c.decimals), c.expected)
        << c.value << " at " << c.decimals;
  }
  EXPECT_TRUE(std::isnan(round_number(kNaN, 2)));
  EXPECT_EQ(round_number(2.5), 3);
}

}  // namespace
