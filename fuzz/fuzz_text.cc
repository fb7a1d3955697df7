// Properties of the text operations and URL splitting on arbitrary bytes: matches start on
// characters, split pieces rejoin to the text, identical replacement changes nothing,
// marker cuts come from the text, GBK and UTF-8 convert into each other without loss where
// both can spell a text, and no operation misbehaves on any input.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "net/url.h"
#include "text/gbk_unicode.h"
#include "text/text.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool lead(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

// Whether offset `at` is where a character begins in a walk that starts at `from`.
bool starts_character(const std::string& text, size_t from, size_t at) {
  size_t i = from;
  while (i < at) i += lead(text[i]) ? 2 : 1;
  return i == at;
}

std::string join(const std::vector<std::string>& pieces, const std::string& delimiter) {
  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) joined += (i == 0 ? "" : delimiter) + pieces[i];
  return joined;
}

bool is_substring(const std::string& text, const std::string& part) {
  return part.empty() || text.find(part) != std::string::npos;
}

int sign(int value) {
  return (value > 0) - (value < 0);
}

// The first character start at or after `from` (walking from there) where the pattern
// matches as find_text compares it; -1 when none.
int first_match_by_walking(const std::string& text, const std::string& pattern, size_t from,
                           bool ic) {
  for (size_t i = from; i < text.size(); i += lead(text[i]) ? 2 : 1) {
    if (lead(text[i]) && i + 1 == text.size()) break;
    if (text.size() - i >= pattern.size() &&
        compare_texts(text.substr(i, pattern.size()), pattern, !ic) == 0) {
      return static_cast<int>(i) + 1;
    }
  }
  return -1;
}

void check_searches(const std::string& text, const std::string& pattern, int start, bool ic) {
  const int found = find_text(text, pattern, start, ic);
  const size_t from = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  if (!pattern.empty() && from < text.size()) {
    check(found == first_match_by_walking(text, pattern, from, ic));  // none missed
  }
  if (found != -1 && !pattern.empty()) {
    const size_t at = static_cast<size_t>(found) - 1;
    check(at >= from && at + pattern.size() <= text.size());
    check(starts_character(text, from, at));
    check(compare_texts(text.substr(at, pattern.size()), pattern, !ic) == 0);
  }
  const std::optional<int> before = start % 2 == 0 ? std::nullopt : std::optional<int>(start);
  const int last = find_text_reverse(text, pattern, before, ic);
  if (last != -1 && !pattern.empty()) {
    const size_t at = static_cast<size_t>(last) - 1;
    check(starts_character(text, 0, at));
    check(at + pattern.size() <= text.size());
    if (before) check(last + static_cast<int>(pattern.size()) <= *before);
  }
}

void check_split(const std::string& text, const std::string& delimiter, std::optional<int> max) {
  const std::vector<std::string> pieces = split_text(text, delimiter, max);
  if (text.empty() || (max && *max <= 0)) return check(pieces.empty());
  if (delimiter.empty()) return check(pieces.size() == 1 && pieces[0] == text);
  const std::string joined = join(pieces, delimiter);
  if (max) check(pieces.size() <= static_cast<size_t>(*max));
  if (!max || pieces.size() < static_cast<size_t>(*max)) {
    // Only a delimiter at the very end is lost.
    check(joined == text || joined + delimiter == text);
  } else {
    // The walk stopped after the last allowed piece: the rest of the text is dropped.
    check(joined == text ||
          text.compare(0, joined.size() + delimiter.size(), joined + delimiter) == 0);
  }
}

void check_numbers(const std::string& text, int a, int b) {
  const double number = to_number(text);
  const int32_t integer = to_integer(text);
  (void)integer;
  (void)to_integer(number);
  (void)floor_to_int(number);
  (void)round_number(number, a);
  (void)to_text(number);
  (void)to_text(static_cast<float>(number));
  (void)hex_text(a);
  const DateTimeParts parts = split_date_time(DateTime{number});
  check(parts.year >= 100 && parts.year <= 9999 && parts.month >= 1 && parts.month <= 12);
  (void)to_text(DateTime{number});
  const DateTimeParts made = split_date_time(make_date_time(a, b, a ^ b, b, a, b));
  check(made.year >= 100 && made.year <= 9999);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int a = input.ConsumeIntegral<int>();
  const int b = input.ConsumeIntegral<int>();
  const bool ic = input.ConsumeBool();
  const std::string pattern = input.ConsumeRandomLengthString(16);
  const std::string other = input.ConsumeRandomLengthString(16);
  const std::string text = input.ConsumeRemainingBytesAsString();

  check_searches(text, pattern, a, ic);
  check_searches(text, pattern, 1, ic);

  const std::optional<int> limit = b % 3 == 0 ? std::nullopt : std::optional<int>(b % 50);
  check_split(text, pattern, limit);
  check_split(text, pattern, std::nullopt);

  check(replace_substring(text, pattern, pattern, a, limit, true) == text);
  (void)replace_substring(text, pattern, other, a, limit, ic);

  check(is_substring(text, text_between(text, pattern, other, a)));
  check(is_substring(text, text_between(text, pattern, other)));
  check(is_substring(text, text_between_quoted(text, pattern, other)));

  check(url_encode(text).size() == 3 * text.size());
  check(to_upper(text).size() == text.size() && to_lower(text).size() == text.size());
  check(trim_spaces(text).size() <= text.size() && remove_spaces(text).size() <= text.size());
  check(sign(compare_texts(text, pattern, ic)) == -sign(compare_texts(pattern, text, ic)));
  check(left_text(text, a).size() <= text.size() && right_text(text, a).size() <= text.size());
  check(mid_text(text, a, b).size() <= text.size());
  (void)replace_at(text, a, b, pattern);
  (void)to_text(text_to_bytes(text));

  check_numbers(text, a, b);
  check_numbers(pattern, b, a);

  // Every character of UTF-8 input gives at most as many GBK bytes; GBK text that spells
  // no lost character comes back whole.
  bool lossy = false;
  const std::string gbk = utf8_to_gbk(text, &lossy);
  check(gbk.size() <= text.size());
  check(utf8_to_gbk(gbk_to_utf8(gbk)) == gbk);
  if (!lossy) check(gbk_to_utf8(gbk) == text);

  (void)host_of_url(text);
  (void)path_of_url(text);
  const int port = port_of_url(text);
  check(port >= 0 && port <= 65535);
  return 0;
}
