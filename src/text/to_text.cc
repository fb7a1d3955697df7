// Conversions of values to text. Numbers are formatted with std::to_chars so that the
// result is the same on every platform and in every locale.

#include <charconv>
#include <cmath>

#include "text/text.h"

namespace {

template <typename Number>
std::string integer_text(Number value) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

// "%.<precision>g": at most `precision` significant digits, trailing zeros and a trailing
// point dropped, exponent form ("1e+20") when the decimal exponent is below -4 or at least
// the precision.
template <typename Number>
std::string general_text(Number value, int precision) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision)
          .ptr;
  return std::string(buffer, end);
}

}  // namespace

std::string to_text(std::string_view text) {
  return std::string(text);
}
std::string to_text(const char* text) {
  return text == nullptr ? std::string() : text;
}
std::string to_text(const std::string& text) {
  return text;
}
std::string to_text(uint8_t value) {
  return integer_text(static_cast<unsigned>(value));
}
std::string to_text(int16_t value) {
  return integer_text(static_cast<int>(value));
}
std::string to_text(int32_t value) {
  return integer_text(value);
}
std::string to_text(int64_t value) {
  return integer_text(value);
}
std::string to_text(float value) {
  return general_text(value, 6);
}
std::string to_text(double value) {
  return general_text(value, 13);
}

std::string to_text(bool value) {
  return value ? "\xD5\xE6"   // "真"
               : "\xBC\xD9";  // "假"
}

std::string to_text(DateTime value) {
  const DateTimeParts t = split_date_time(value);
  std::string result = to_text(t.year) + "\xC4\xEA" +   // "年"
                       to_text(t.month) + "\xD4\xC2" +  // "月"
                       to_text(t.day) + "\xC8\xD5";     // "日"
  if (t.hour == 0 && t.minute == 0 && t.second == 0) return result;
  result += to_text(t.hour) + "\xCA\xB1";  // "时"
  if (t.minute == 0 && t.second == 0) return result;
  result += to_text(t.minute) + "\xB7\xD6";  // "分"
  if (t.second == 0) return result;
  result += to_text(t.second) + "\xC3\xEB";  // "秒"
  return result;
}

std::string to_text(const ByteSet& bytes) {
  const std::string_view all = bytes.view();
  return std::string(all.substr(0, all.find('\0')));
}

std::string hex_text(int32_t value) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  auto bits = static_cast<uint32_t>(value);  // two's complement for negative values
  char buffer[8];
  char* begin = buffer + sizeof buffer;
  do {
    *--begin = kHexDigits[bits & 0x0F];
    bits >>= 4;
  } while (bits != 0);
  return std::string(begin, buffer + sizeof buffer);
}
