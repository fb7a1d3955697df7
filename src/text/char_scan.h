#ifndef MOYAN_TEXT_CHAR_SCAN_H_
#define MOYAN_TEXT_CHAR_SCAN_H_

// Character stepping shared by the searching operations. A byte >= 0x80 and the byte after
// it are one character; a walk that starts at some offset treats that offset as the start of
// a character. Offsets here are 0-based; the public operations turn them into positions.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr size_t kNotFound = std::string_view::npos;

inline bool is_lead_byte(char byte) {
  return static_cast<unsigned char>(byte) >= 0x80;
}

inline char ascii_lower(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + ('a' - 'A')) : byte;
}
inline char ascii_upper(char byte) {
  return (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - ('a' - 'A')) : byte;
}
inline bool is_ascii_letter(char byte) {
  return ascii_lower(byte) != ascii_upper(byte);
}

// Length of the character at offset i: 2 for a lead byte with a byte after it, else 1.
inline size_t char_length_at(std::string_view text, size_t i) {
  return (is_lead_byte(text[i]) && i + 1 < text.size()) ? 2 : 1;
}

// 1-based position of offset i, or -1 when it can't be told in an int.
inline int position_of_offset(size_t i) {
  return i < static_cast<size_t>(INT_MAX) ? static_cast<int>(i) + 1 : -1;
}

// 0-based offset where a walk from 1-based position `start` begins (start < 1 counts as 1).
inline size_t offset_of_start(int start) {
  return start > 1 ? static_cast<size_t>(start) - 1 : 0;
}

// Whether pattern matches text at offset `at`, a character start. With ignore_case the
// single-byte characters of the text compare with ASCII letters folded; the second byte of
// a two-byte character always compares exactly, so no two-byte character matches another.
bool matches_at(std::string_view text, size_t at, std::string_view pattern, bool ignore_case);

// First offset >= from at which pattern matches, trying only character starts of a walk that
// begins at `from`; kNotFound when none. A lead byte that is the text's last byte ends the
// walk. An empty pattern is never found here (callers give it its own meaning).
size_t find_on_char_start(std::string_view text, std::string_view pattern, size_t from,
                          bool ignore_case);

// Last offset at which pattern matches wholly inside text, walking from offset 0.
size_t find_last_on_char_start(std::string_view text, std::string_view pattern, bool ignore_case);

#endif  // MOYAN_TEXT_CHAR_SCAN_H_
