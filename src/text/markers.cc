// Cutting values out of pages between marker texts, and percent-encoding of query words.

#include <climits>
#include <new>

#include "text/text.h"

std::string text_between(std::string_view text, std::string_view start_marker,
                         std::string_view end_marker, int start) {
  const int p = find_text(text, start_marker, start, true);
  if (p == -1) return {};
  const size_t s = static_cast<size_t>(p) - 1 + start_marker.size();  // right after the marker
  if (s >= text.size() || s >= static_cast<size_t>(INT_MAX)) return {};
  // The end marker is searched from s with the walk starting there, as find_text does.
  const int q = find_text(text, end_marker, static_cast<int>(s) + 1, true);
  if (q == -1) return {};
  const size_t e = static_cast<size_t>(q) - 1;
  if (e <= s) return {};  // the end marker follows the start marker directly
  return std::string(text.substr(s, e - s));
}

std::string text_between_quoted(std::string_view text, std::string_view start_marker,
                                std::string_view end_marker) {
  // Markers that hold double quotes are written with "#引号" in their place.
  static constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";  // "#引号"
  const std::string start = replace_substring(start_marker, kQuotePlaceholder, "\"");
  const std::string end = replace_substring(end_marker, kQuotePlaceholder, "\"");
  return text_between(text, start, end, 1);
}

std::string url_encode(std::string_view text) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  if (text.size() > std::string().max_size() / 3) throw std::bad_alloc();  // can't be held
  std::string encoded(text.size() * 3, '%');
  char* out = encoded.data();
  for (const char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    out[1] = kHexDigits[value >> 4];
    out[2] = kHexDigits[value & 0x0F];
    out += 3;
  }
  return encoded;
}
