#ifndef MOYAN_TEXT_TEXT_H_
#define MOYAN_TEXT_TEXT_H_

// The shared text, number and byte operations. A text is a std::string of GBK bytes
// without zero bytes; the empty and the absent text are the same value. Lengths,
// positions and counts are in bytes, positions start at 1, a failed search gives -1.
// A byte >= 0x80 and the byte after it are one character: searching operations step
// whole characters and never match inside one; a lead byte at the very end ends the walk.
// Cutting operations count plain bytes. Nothing here fails: out-of-range positions and
// counts are clamped or give empty results. Every operation returns a new value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/byte_set.h"
#include "text/date_time.h"

// ---- Cutting (plain bytes) -------------------------------------------------------------

// Byte count; held to INT_MAX for a text longer than that.
int text_byte_length(std::string_view text);
std::string left_text(std::string_view text, int n);
std::string right_text(std::string_view text, int n);
std::string mid_text(std::string_view text, int start, int n);
// The n bytes from start replaced: start < 1 counts as 1, a start past the end appends,
// n <= 0 inserts, n past the end removes up to the end.
std::string replace_at(std::string_view text, int start, int n, std::string_view replacement = {});

// ---- Searching (character stepping) ----------------------------------------------------

// First occurrence at or after start (< 1 counts as 1); an empty pattern gives 1 when the
// searched range holds a byte. Case folding touches only ASCII letters.
int find_text(std::string_view text, std::string_view pattern, int start = 1,
              bool ignore_case = false);
// Last occurrence; with a start s only matches ending before position s count
// (nothing when s <= 1).
int find_text_reverse(std::string_view text, std::string_view pattern,
                      std::optional<int> start = std::nullopt, bool ignore_case = false);
// Negative, zero or positive; two-byte characters compare as units.
int compare_texts(std::string_view a, std::string_view b, bool case_sensitive);

// ---- Case and spaces -------------------------------------------------------------------

std::string to_upper(std::string_view text);
std::string to_lower(std::string_view text);
// Half-width (0x20) and full-width (A1 A1) spaces; tabs and line breaks are not spaces.
std::string trim_spaces(std::string_view text);
std::string remove_spaces(std::string_view text);
std::string spaces(int n);

// ---- Replacing and splitting -----------------------------------------------------------

// Occurrences of find at or after start replaced left to right without overlap, at most
// count of them (absent: all; negative counts as 0).
std::string replace_substring(std::string_view text, std::string_view find,
                              std::string_view replacement = {}, int start = 1,
                              std::optional<int> count = std::nullopt, bool case_sensitive = true);
// Pieces between delimiters, empty ones included, except that a text ending in the
// delimiter yields no empty last piece. At most max_pieces (absent: no limit; negative
// counts as 0); the rest of the text after the last allowed piece is dropped.
std::vector<std::string> split_text(std::string_view text, std::string_view delimiter = ",",
                                    std::optional<int> max_pieces = std::nullopt);

// ---- Conversions to text ---------------------------------------------------------------

std::string to_text(std::string_view text);
std::string to_text(const char* text);
std::string to_text(const std::string& text);
std::string to_text(uint8_t value);  // "%u"
std::string to_text(int16_t value);  // "%d"
std::string to_text(int32_t value);  // "%d"
std::string to_text(int64_t value);
std::string to_text(float value);   // "%.6g"
std::string to_text(double value);  // "%.13g"
std::string to_text(bool value);    // "真" / "假"
// "Y年M月D日" then "H时M分S秒", "H时M分" or "H时" as far as the time is not zero.
std::string to_text(DateTime value);
// The bytes up to the first zero byte, unconverted.
std::string to_text(const ByteSet& bytes);
// Upper-case "%X"; a negative value gives the eight digits of its two's complement.
std::string hex_text(int32_t value);

// ---- Numbers ---------------------------------------------------------------------------

// Full-width forms folded to half-width, leading white space skipped, then the longest
// prefix of sign, digits, point, digits, exponent; 0 when there is none.
double to_number(std::string_view text);
// Optional sign and decimal digits after folding and leading white space; held to the
// 32-bit range.
int32_t to_integer(std::string_view text);
// Truncated toward zero, held to the 32-bit range; NaN gives 0.
int32_t to_integer(double value);
// Greatest integer not above the value (a fraction beyond 0.999999999999 counts as the
// next whole number first), held to the 32-bit range; NaN gives 0.
int32_t floor_to_int(double value);
// Half away from zero at the given decimals (negative: tens, hundreds, ...).
double round_number(double value, int decimals = 0);

// ---- Byte sets -------------------------------------------------------------------------

ByteSet text_to_bytes(std::string_view text);
// Byte count; held to INT_MAX.
int bytes_length(const ByteSet& bytes);
ByteSet left_bytes(const ByteSet& bytes, int n);
ByteSet zero_bytes(int n);
template <typename... Parts>
ByteSet join_bytes(const Parts&... parts) {
  ByteSet joined;
  joined.reserve((size_t{0} + ... + parts.size()));
  (joined.append(parts), ...);
  return joined;
}

// ---- Markers and encoding --------------------------------------------------------------

// The text between the first start marker at or after start and the first end marker
// after it, both found without regard to ASCII case; empty when either is missing.
std::string text_between(std::string_view text, std::string_view start_marker,
                         std::string_view end_marker, int start = 1);
// As text_between from position 1, after every "#引号" in either marker has become '"'.
std::string text_between_quoted(std::string_view text, std::string_view start_marker,
                                std::string_view end_marker);
// Every byte as "%" and two upper-case hexadecimal digits.
std::string url_encode(std::string_view text);

#endif  // MOYAN_TEXT_TEXT_H_
