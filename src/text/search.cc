// find_text, find_text_reverse and compare_texts.

#include "text/char_scan.h"
#include "text/text.h"

int find_text(std::string_view text, std::string_view pattern, int start, bool ignore_case) {
  const size_t from = offset_of_start(start);
  if (from >= text.size()) return -1;
  if (pattern.empty()) return 1;  // 1, not the start position
  const size_t at = find_on_char_start(text, pattern, from, ignore_case);
  return at == kNotFound ? -1 : position_of_offset(at);
}

int find_text_reverse(std::string_view text, std::string_view pattern, std::optional<int> start,
                      bool ignore_case) {
  // With a start s only the first s - 1 bytes are searched.
  if (start.has_value()) {
    if (*start <= 1) return -1;
    const size_t limit = static_cast<size_t>(*start) - 1;
    if (limit < text.size()) text = text.substr(0, limit);
  }
  if (text.empty()) return -1;
  if (pattern.empty()) return 1;
  const size_t at = find_last_on_char_start(text, pattern, ignore_case);
  return at == kNotFound ? -1 : position_of_offset(at);
}

int compare_texts(std::string_view a, std::string_view b, bool case_sensitive) {
  // Bytes compare unsigned, so a two-byte character sorts as the unit (lead, second byte).
  // Folding, when asked for, lowers single-byte letters only, never a second byte.
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  bool second_byte = false;
  for (size_t i = 0; i < n; ++i) {
    char x = a[i];
    char y = b[i];
    if (!case_sensitive && !second_byte) {
      x = ascii_lower(x);
      y = ascii_lower(y);
    }
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    second_byte = !second_byte && is_lead_byte(a[i]);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
