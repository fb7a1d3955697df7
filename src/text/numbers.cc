// Reading numbers from texts and turning doubles into integers. Results outside the
// 32-bit range are held to its ends and NaN reads as 0, so no conversion is undefined.

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>

#include "text/char_scan.h"
#include "text/text.h"

namespace {

// GBK full-width forms A3 A1 .. A3 FE are ASCII 0x21 .. 0x7E; A1 A1 is the full-width space.
std::string half_width(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = char_length_at(text, i);
    const unsigned char second = length == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (length == 2 && text[i] == '\xA3' && second >= 0xA1 && second <= 0xFE) {
      result.push_back(static_cast<char>(second - 0x80));
    } else if (length == 2 && text[i] == '\xA1' && second == 0xA1) {
      result.push_back(' ');
    } else {
      result.append(text.substr(i, length));
    }
    i += length;
  }
  return result;
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_white_space(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

size_t skip_white_space(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && is_white_space(text[i])) ++i;
  return i;
}

size_t skip_digits(std::string_view text, size_t i) {
  while (i < text.size() && is_digit(text[i])) ++i;
  return i;
}

// The value of digits, point and exponent in `number` when std::from_chars finds it out of
// the double range: infinity when it is too large, zero when too small.
double out_of_range_value(std::string_view number) {
  // Decimal exponent of the first non-zero digit, from its place and the written exponent.
  int64_t place = 0;
  bool seen_point = false;
  bool found = false;
  size_t i = 0;
  for (; i < number.size() && (is_digit(number[i]) || number[i] == '.'); ++i) {
    if (number[i] == '.') {
      seen_point = true;
    } else if (!found) {
      if (seen_point) --place;
      found = number[i] != '0';
    } else if (!seen_point) {
      ++place;
    }
  }
  if (!found) return 0;
  int64_t exponent = 0;
  bool negative = false;
  if (i < number.size()) {  // 'e' or 'E'
    ++i;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative = number[i++] == '-';
    for (; i < number.size() && exponent < 100000; ++i)
      exponent = exponent * 10 + (number[i] - '0');
  }
  return place + (negative ? -exponent : exponent) > 0 ? HUGE_VAL : 0.0;
}

}  // namespace

double to_number(std::string_view text) {
  const std::string folded = half_width(text);
  const std::string_view s = folded;
  size_t i = skip_white_space(s);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const size_t begin = i;
  i = skip_digits(s, i);
  bool has_digits = i > begin;
  if (i < s.size() && s[i] == '.') {
    const size_t fraction_end = skip_digits(s, i + 1);
    if (has_digits || fraction_end > i + 1) {
      has_digits = true;
      i = fraction_end;
    }
  }
  if (!has_digits) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && is_digit(s[j])) i = skip_digits(s, j);
  }
  const std::string_view number = s.substr(begin, i - begin);
  double value = 0;
  const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) value = out_of_range_value(number);
  return negative ? -value : value;
}

int32_t to_integer(std::string_view text) {
  const std::string folded = half_width(text);
  const std::string_view s = folded;
  size_t i = skip_white_space(s);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  // Accumulate negatively: the negative range is the larger one.
  int64_t value = 0;
  for (; i < s.size() && is_digit(s[i]); ++i) {
    value = value * 10 - (s[i] - '0');
    if (value < INT64_C(-2147483649)) value = INT64_C(-2147483649);  // held, past either end
  }
  if (!negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int32_t>(value);
}

int32_t to_integer(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int32_t>(value);  // truncates toward zero
}

int32_t floor_to_int(double value) {
  if (std::isnan(value)) return 0;
  const double whole = std::trunc(value);
  if (std::fabs(value - whole) > 0.999999999999) value = whole + (value > 0 ? 1 : -1);
  return to_integer(std::floor(value));
}

namespace {

double round_half_away(double scaled) {
  const double magnitude = std::fabs(scaled) + 1e-12;
  double whole = std::floor(magnitude);
  if (magnitude - whole >= 0.5) whole += 1;
  return std::copysign(whole, scaled);
}

// Beyond 2^52 a double has no fraction left to round.
constexpr double kNoFraction = 4503599627370496.0;

}  // namespace

double round_number(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  if (decimals >= 0) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= kNoFraction) return value;
    return round_half_away(scaled) / scale;
  }
  const double scale = std::pow(10.0, -static_cast<double>(decimals));
  if (!std::isfinite(scale)) return std::copysign(0.0, value);
  const double rounded = round_half_away(value / scale) * scale;
  return std::isfinite(rounded) ? rounded : value;
}
