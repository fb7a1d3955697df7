// The cutting operations: they count plain bytes and may cut a two-byte character in half.

#include <climits>

#include "text/text.h"

int text_byte_length(std::string_view text) {
  return text.size() < static_cast<size_t>(INT_MAX) ? static_cast<int>(text.size()) : INT_MAX;
}

std::string left_text(std::string_view text, int n) {
  if (n <= 0) return {};
  return std::string(text.substr(0, static_cast<size_t>(n)));
}

std::string right_text(std::string_view text, int n) {
  if (n <= 0) return {};
  const size_t count = static_cast<size_t>(n);
  if (count >= text.size()) return std::string(text);
  return std::string(text.substr(text.size() - count));
}

std::string mid_text(std::string_view text, int start, int n) {
  if (start < 1 || n <= 0 || static_cast<size_t>(start) > text.size()) return {};
  return std::string(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(n)));
}

std::string replace_at(std::string_view text, int start, int n, std::string_view replacement) {
  const size_t at = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  const size_t head = at < text.size() ? at : text.size();
  const size_t removed = n > 0 ? static_cast<size_t>(n) : 0;
  const size_t tail = removed < text.size() - head ? head + removed : text.size();
  std::string result;
  result.reserve(head + replacement.size() + (text.size() - tail));
  result.append(text.substr(0, head));
  result.append(replacement);
  result.append(text.substr(tail));
  return result;
}
