// The byte-set operations.

#include <climits>

#include "text/text.h"

ByteSet text_to_bytes(std::string_view text) {
  return ByteSet(text.data(), text.size());
}

int bytes_length(const ByteSet& bytes) {
  return bytes.size() < static_cast<size_t>(INT_MAX) ? static_cast<int>(bytes.size()) : INT_MAX;
}

ByteSet left_bytes(const ByteSet& bytes, int n) {
  if (n <= 0) return {};
  const size_t count =
      static_cast<size_t>(n) < bytes.size() ? static_cast<size_t>(n) : bytes.size();
  return ByteSet(bytes.data(), count);
}

ByteSet zero_bytes(int n) {
  if (n <= 0) return {};
  return ByteSet(std::string(static_cast<size_t>(n), '\0'));
}
