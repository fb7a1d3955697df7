// Letter case and spaces. These step whole characters so that the second byte of a
// two-byte character is never taken for a letter or a space; a lead byte at the very end
// is kept as it is.

#include "text/char_scan.h"
#include "text/text.h"

namespace {

// The full-width space is the two-byte character A1 A1.
constexpr char kFullWidthSpaceByte = '\xA1';

// Byte length of the space character at offset i, or 0 when none starts there.
size_t space_length_at(std::string_view text, size_t i) {
  if (text[i] == ' ') return 1;
  if (text[i] == kFullWidthSpaceByte && i + 1 < text.size() && text[i + 1] == kFullWidthSpaceByte) {
    return 2;
  }
  return 0;
}

template <char (*Convert)(char)>
std::string convert_letters(std::string_view text) {
  std::string result(text);
  for (size_t i = 0; i < result.size();) {
    if (is_lead_byte(result[i])) {
      i += 2;
    } else {
      result[i] = Convert(result[i]);
      ++i;
    }
  }
  return result;
}

}  // namespace

std::string to_upper(std::string_view text) {
  return convert_letters<ascii_upper>(text);
}

std::string to_lower(std::string_view text) {
  return convert_letters<ascii_lower>(text);
}

std::string trim_spaces(std::string_view text) {
  size_t begin = 0;
  size_t end = 0;  // end of the last character that is not a space
  bool leading = true;
  for (size_t i = 0; i < text.size();) {
    const size_t space = space_length_at(text, i);
    if (space != 0) {
      if (leading) begin = i + space;
      i += space;
    } else {
      leading = false;
      i += char_length_at(text, i);
      end = i;
    }
  }
  if (end <= begin) return {};
  return std::string(text.substr(begin, end - begin));
}

std::string remove_spaces(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t space = space_length_at(text, i);
    if (space != 0) {
      i += space;
    } else {
      const size_t length = char_length_at(text, i);
      result.append(text.substr(i, length));
      i += length;
    }
  }
  return result;
}

std::string spaces(int n) {
  if (n < 1) return {};
  return std::string(static_cast<size_t>(n), ' ');
}
