#include "text/date_time.h"

#include <cmath>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Day 0 (1899-12-30) counted from 1970-01-01.
constexpr int64_t kDayZeroFromUnixEpoch = -25569;
constexpr int64_t kEarliestDay = static_cast<int64_t>(kEarliestDateTimeDays);
constexpr int64_t kLatestDay = static_cast<int64_t>(kLatestDateTimeDays);

int64_t floor_div(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days of the proleptic Gregorian calendar from 1970-01-01 (H. Hinnant's algorithm).
int64_t days_from_civil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = floor_div(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, DateTimeParts& parts) {
  z += 719468;
  const int64_t era = floor_div(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  parts.year = static_cast<int>(yoe + era * 400 + (m <= 2));
  parts.month = static_cast<int>(m);
  parts.day = static_cast<int>(d);
}

DateTimeParts parts_of(int64_t day, int64_t seconds) {
  DateTimeParts parts;
  civil_from_days(day + kDayZeroFromUnixEpoch, parts);
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

}  // namespace

DateTimeParts split_date_time(DateTime when) {
  double days = when.days;
  if (std::isnan(days)) days = 0;
  if (days >= kEarliestDateTimeDays - 1 + 1e-9 && days < kLatestDateTimeDays + 1) {
    int64_t day = static_cast<int64_t>(std::trunc(days));
    // The fraction is the time of day forward from the day's midnight, even for negative days.
    int64_t seconds = std::llround(std::fabs(days - static_cast<double>(day)) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
      ++day;
      seconds -= kSecondsPerDay;
    }
    if (day <= kLatestDay) return parts_of(day, seconds);
  }
  if (days > 0) return parts_of(kLatestDay, kSecondsPerDay - 1);
  return parts_of(kEarliestDay, 0);
}

DateTime make_date_time(int year, int month, int day, int hour, int minute, int second) {
  const int64_t months = int64_t{year} * 12 + (int64_t{month} - 1);
  const int64_t seconds_in = int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
  int64_t days =
      days_from_civil(floor_div(months, 12), months - floor_div(months, 12) * 12 + 1, 1) +
      (int64_t{day} - 1) + floor_div(seconds_in, kSecondsPerDay) - kDayZeroFromUnixEpoch;
  int64_t seconds = seconds_in - floor_div(seconds_in, kSecondsPerDay) * kSecondsPerDay;
  if (days < kEarliestDay) {
    days = kEarliestDay;
    seconds = 0;
  } else if (days > kLatestDay) {
    days = kLatestDay;
    seconds = kSecondsPerDay - 1;
  }
  const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
  const double whole = static_cast<double>(days);
  return DateTime{days < 0 ? whole - fraction : whole + fraction};
}
