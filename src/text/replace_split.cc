// replace_substring and split_text: both walk the text a character at a time from a
// character start and resume the walk right after each match.

#include "text/char_scan.h"
#include "text/text.h"

std::string replace_substring(std::string_view text, std::string_view find,
                              std::string_view replacement, int start, std::optional<int> count,
                              bool case_sensitive) {
  const size_t from = offset_of_start(start);
  const int limit = count.has_value() ? (*count > 0 ? *count : 0) : -1;  // -1: no limit
  if (text.empty() || find.empty() || from >= text.size() || limit == 0) return std::string(text);
  std::string result;
  result.reserve(text.size());
  result.append(text.substr(0, from));
  size_t at = from;
  for (int done = 0; limit < 0 || done < limit; ++done) {
    const size_t hit = find_on_char_start(text, find, at, !case_sensitive);
    if (hit == kNotFound) break;
    result.append(text.substr(at, hit - at));
    result.append(replacement);
    at = hit + find.size();
  }
  result.append(text.substr(at));
  return result;
}

std::vector<std::string> split_text(std::string_view text, std::string_view delimiter,
                                    std::optional<int> max_pieces) {
  const int limit = max_pieces.has_value() ? (*max_pieces > 0 ? *max_pieces : 0) : -1;
  std::vector<std::string> pieces;
  if (text.empty() || limit == 0) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t at = 0;
  while (limit < 0 || pieces.size() < static_cast<size_t>(limit)) {
    const size_t hit = find_on_char_start(text, delimiter, at, false);
    if (hit == kNotFound) {
      if (at < text.size()) pieces.emplace_back(text.substr(at));
      break;
    }
    pieces.emplace_back(text.substr(at, hit - at));
    at = hit + delimiter.size();
  }
  return pieces;
}
