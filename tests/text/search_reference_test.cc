// The searching operations against a plain character walk written straight from their
// rules, on many small random texts built from bytes that trip the character stepping
// (lead bytes, second bytes that look like letters, spaces and delimiters).

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "text/text.h"

namespace {

bool lead(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}
char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Pattern against text at a character start; folding skips second bytes.
bool match(const std::string& text, size_t at, const std::string& pattern, bool ignore_case) {
  if (text.size() - at < pattern.size()) return false;
  bool second = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char t = text[at + i];
    const bool same = (ignore_case && !second) ? lower(t) == lower(pattern[i]) : t == pattern[i];
    if (!same) return false;
    second = !second && lead(t);
  }
  return true;
}

// Character starts of a walk from `from`, the lone lead byte at the end left out.
std::vector<size_t> walk(const std::string& text, size_t from) {
  std::vector<size_t> starts;
  for (size_t i = from; i < text.size(); i += lead(text[i]) ? 2 : 1) {
    if (lead(text[i]) && i + 1 == text.size()) break;
    starts.push_back(i);
  }
  return starts;
}

int reference_find(const std::string& text, const std::string& pattern, int start, bool ic) {
  const size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
  if (from >= text.size()) return -1;
  if (pattern.empty()) return 1;
  for (size_t i : walk(text, from)) {
    if (match(text, i, pattern, ic)) return static_cast<int>(i) + 1;
  }
  return -1;
}

int reference_find_reverse(std::string text, const std::string& pattern, std::optional<int> start,
                           bool ic) {
  if (start) text = text.substr(0, *start > 1 ? static_cast<size_t>(*start - 1) : 0);
  if (text.empty()) return -1;
  if (pattern.empty()) return 1;
  int last = -1;
  for (size_t i : walk(text, 0)) {
    if (match(text, i, pattern, ic)) last = static_cast<int>(i) + 1;
  }
  return last;
}

std::string reference_replace(const std::string& text, const std::string& find,
                              const std::string& replacement, int start, int count, bool cs) {
  const size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
  if (text.empty() || find.empty() || from >= text.size() || count == 0) return text;
  std::string result = text.substr(0, from);
  size_t i = from;
  int done = 0;
  while (i < text.size()) {
    if (done == count || (lead(text[i]) && i + 1 == text.size())) break;
    if (match(text, i, find, !cs)) {
      result += replacement;
      i += find.size();
      ++done;
    } else {
      const size_t n = lead(text[i]) ? 2 : 1;
      result += text.substr(i, n);
      i += n;
    }
  }
  return result + text.substr(i);
}

std::vector<std::string> reference_split(const std::string& text, const std::string& delimiter,
                                         int max_pieces) {
  std::vector<std::string> pieces;
  if (text.empty() || max_pieces == 0) return pieces;
  if (delimiter.empty()) return {text};
  size_t piece_start = 0;
  size_t i = 0;
  while (i < text.size() && !(lead(text[i]) && i + 1 == text.size())) {
    if (match(text, i, delimiter, false)) {
      pieces.push_back(text.substr(piece_start, i - piece_start));
      i += delimiter.size();
      piece_start = i;
      if (static_cast<int>(pieces.size()) == max_pieces) return pieces;
    } else {
      i += lead(text[i]) ? 2 : 1;
    }
  }
  if (piece_start < text.size()) pieces.push_back(text.substr(piece_start));
  return pieces;
}

class RandomTexts {
 public:
  explicit RandomTexts(std::string_view bytes) : bytes_(bytes) {}

  std::string text(size_t max_length) {
    std::uniform_int_distribution<size_t> length(0, max_length);
    std::uniform_int_distribution<size_t> pick(0, bytes_.size() - 1);
    std::string s(length(rng_), ' ');
    for (char& c : s) c = bytes_[pick(rng_)];
    return s;
  }
  // Mostly pieces of the text itself, so that matches are common.
  std::string pattern(const std::string& text) {
    if (text.empty() || number(0, 3) == 0) return this->text(3);
    const size_t at = static_cast<size_t>(number(0, static_cast<int>(text.size()) - 1));
    return text.substr(at, static_cast<size_t>(number(0, 4)));
  }
  int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

 private:
  std::string_view bytes_;
  std::mt19937 rng_{20240601};
};

TEST(SearchReference, SearchesMatchTheCharacterWalk) {
  const struct {
    const char* bytes;
    size_t max_length;
    int rounds;
  } kinds[] = {
      {"aAb, <\xB0\xA1\xD6\xD0", 40, 20000},
      {"aA\xB0", 24, 50000},                  // long runs of lead bytes, second bytes that fold
      {"aAb, <\xB0\xA1\xD6\xD0", 3000, 300},  // long texts: skipping between candidates
  };
  for (const auto& kind : kinds) {
    RandomTexts random(kind.bytes);
    for (int round = 0; round < kind.rounds; ++round) {
      const std::string text = random.text(kind.max_length);
      const std::string pattern = random.pattern(text);
      const std::string replacement = random.text(3);
      const int start = random.number(-1, static_cast<int>(kind.max_length) + 2);
      const int count = random.number(-1, 4);
      const std::optional<int> limit = count < 0 ? std::nullopt : std::optional<int>(count);
      const bool ic = random.number(0, 1) == 1;
      SCOPED_TRACE(testing::Message() << kind.bytes << " round " << round);
      ASSERT_EQ(find_text(text, pattern, start, ic), reference_find(text, pattern, start, ic));
      ASSERT_EQ(find_text_reverse(text, pattern, limit, ic),
                reference_find_reverse(text, pattern, limit, ic));
      ASSERT_EQ(replace_substring(text, pattern, replacement, start, limit, !ic),
                reference_replace(text, pattern, replacement, start, count, !ic));
      ASSERT_EQ(split_text(text, pattern, limit), reference_split(text, pattern, count));
    }
  }
}

}  // namespace
