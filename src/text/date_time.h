#ifndef MOYAN_TEXT_DATE_TIME_H_
#define MOYAN_TEXT_DATE_TIME_H_

#include <cstdint>

// A point in time as the store keeps it: days since 1899-12-30 00:00 as a double (day 0),
// the fractional part being the time of day. As with OLE dates, a negative value's
// fraction still counts forward from its day's midnight: -1.25 is 1899-12-29 06:00.
struct DateTime {
  double days = 0;
};

// The calendar reading of a DateTime, to the second.
struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Representable range: 100-01-01 00:00:00 ... 9999-12-31 23:59:59.
inline constexpr double kEarliestDateTimeDays = -657434;
inline constexpr double kLatestDateTimeDays = 2958465;

// Calendar reading, rounded to the nearest second. Values outside the representable range
// are held to its ends; NaN reads as day 0.
DateTimeParts split_date_time(DateTime when);

// The DateTime of a calendar reading. Months, days, hours, minutes and seconds outside
// their usual ranges carry into the next larger unit (month 13 is January of the next year);
// the result is held to the representable range.
DateTime make_date_time(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

#endif  // MOYAN_TEXT_DATE_TIME_H_
