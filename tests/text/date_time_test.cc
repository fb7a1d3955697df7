// Days since 1899-12-30 and their calendar reading.

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>

#include <gtest/gtest.h>

#include "text/date_time.h"

// Readable failures.
std::ostream& operator<<(std::ostream& out, const DateTimeParts& p) {
  return out << p.year << '-' << p.month << '-' << p.day << ' ' << p.hour << ':' << p.minute << ':'
             << p.second;
}

namespace {

TEST(SplitDateTime, Table) {
  const struct {
    double days;
    DateTimeParts expected;
  } cases[] = {
      {0, {1899, 12, 30, 0, 0, 0}},
      {1, {1899, 12, 31, 0, 0, 0}},
      {2, {1900, 1, 1, 0, 0, 0}},
      {61, {1900, 3, 1, 0, 0, 0}},  // 1900 has no February 29
      {45000.5, {2023, 3, 15, 12, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0}},  // the fraction counts forward from midnight
      {-0.5, {1899, 12, 30, 12, 0, 0}},
      {1.4 / 86400, {1899, 12, 30, 0, 0, 1}},
      {0.99999999, {1899, 12, 31, 0, 0, 0}},  // rounds up into the next day
      {-657434, {100, 1, 1, 0, 0, 0}},
      {2958465, {9999, 12, 31, 0, 0, 0}},
      {2958465.9999999, {9999, 12, 31, 23, 59, 59}},  // held to the last second
      {1e300, {9999, 12, 31, 23, 59, 59}},
      {-1e300, {100, 1, 1, 0, 0, 0}},
      {std::numeric_limits<double>::infinity(), {9999, 12, 31, 23, 59, 59}},
      {std::numeric_limits<double>::quiet_NaN(), {1899, 12, 30, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_date_time(DateTime{c.days}), c.expected) << c.days;
}

TEST(MakeDateTime, Table) {
  const struct {
    int year, month, day, hour, minute, second;
    DateTimeParts expected;
  } cases[] = {
      {2000, 2, 29, 23, 59, 59, {2000, 2, 29, 23, 59, 59}},
      {1899, 12, 29, 6, 0, 0, {1899, 12, 29, 6, 0, 0}},
      {100, 1, 1, 0, 0, 0, {100, 1, 1, 0, 0, 0}},
      {2023, 13, 1, 0, 0, 0, {2024, 1, 1, 0, 0, 0}},  // carries into the next year
      {2024, 3, 0, 0, 0, 0, {2024, 2, 29, 0, 0, 0}},
      {2024, 1, 1, 0, 0, -1, {2023, 12, 31, 23, 59, 59}},
      {10000, 1, 1, 0, 0, 0, {9999, 12, 31, 23, 59, 59}},
      {99, 12, 31, 0, 0, 0, {100, 1, 1, 0, 0, 0}},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, {9999, 12, 31, 23, 59, 59}},
      {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, {100, 1, 1, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const DateTime made = make_date_time(c.year, c.month, c.day, c.hour, c.minute, c.second);
    EXPECT_EQ(split_date_time(made), c.expected) << c.year << '-' << c.month << '-' << c.day;
  }
  EXPECT_EQ(make_date_time(1899, 12, 29, 6).days, -1.25);
  EXPECT_EQ(make_date_time(1899, 12, 30).days, 0);
}

// Every day of the range reads back as the day it was made from.
TEST(MakeDateTime, EveryDayRoundTrips) {
  for (double day = -657434; day <= 2958465; day += 1) {
    const DateTimeParts p = split_date_time(DateTime{day});
    ASSERT_EQ(make_date_time(p.year, p.month, p.day).days, day);
  }
}

}  // namespace
