#include "text/char_scan.h"

#include <cstring>

namespace {

bool equal_bytes_folded(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

// Offsets where the pattern matches byte for byte (exactly, or with every ASCII letter
// folded when ignoring case). These include every real match; the caller still checks that
// a candidate starts a character and, when folding, that no second byte of a two-byte
// character was folded. Finding them with memchr-style skips keeps searches of long pages
// close to a plain byte search.
class CandidateFinder {
 public:
  CandidateFinder(std::string_view text, std::string_view pattern, bool ignore_case)
      : text_(text), pattern_(pattern), ignore_case_(ignore_case) {
    if (!ignore_case_) return;
    while (anchor_ < pattern_.size() && is_ascii_letter(pattern_[anchor_])) ++anchor_;
    if (anchor_ == pattern_.size()) {
      // Letters only: follow both letter cases of the first byte.
      lower_ = ascii_lower(pattern_[0]);
      upper_ = ascii_upper(pattern_[0]);
    }
  }

  // First candidate at or after `from`, kNotFound when none.
  size_t next(size_t from) {
    if (!ignore_case_) return text_.find(pattern_, from);
    const size_t m = pattern_.size();
    if (m > text_.size()) return kNotFound;
    const size_t last = text_.size() - m;  // last offset where the pattern fits
    while (from <= last) {
      const size_t c = anchor_ < m ? next_by_anchor(from, last) : next_by_first_letter(from, last);
      if (c == kNotFound) return kNotFound;
      if (equal_bytes_folded(text_.data() + c, pattern_.data(), m)) return c;
      from = c + 1;
    }
    return kNotFound;
  }

 private:
  // Candidates by a byte of the pattern that folding leaves alone.
  size_t next_by_anchor(size_t from, size_t last) const {
    const char* begin = text_.data() + from + anchor_;
    const void* hit = std::memchr(begin, pattern_[anchor_], last - from + 1);
    if (hit == nullptr) return kNotFound;
    return static_cast<size_t>(static_cast<const char*>(hit) - text_.data()) - anchor_;
  }

  // Candidates by the first letter in either case; each case's next hit is remembered, so
  // every byte is looked at once per case.
  size_t next_by_first_letter(size_t from, size_t last) {
    refresh(lower_, next_lower_, from, last);
    refresh(upper_, next_upper_, from, last);
    return next_lower_ < next_upper_ ? next_lower_ : next_upper_;
  }

  void refresh(char letter, size_t& next_hit, size_t from, size_t last) const {
    if (next_hit != kUnknown && (next_hit == kNotFound || next_hit >= from)) return;
    const void* hit = std::memchr(text_.data() + from, letter, last - from + 1);
    next_hit = hit == nullptr ? kNotFound
                              : static_cast<size_t>(static_cast<const char*>(hit) - text_.data());
  }

  static constexpr size_t kUnknown = kNotFound - 1;

  std::string_view text_;
  std::string_view pattern_;
  bool ignore_case_;
  size_t anchor_ = 0;
  char lower_ = 0;
  char upper_ = 0;
  size_t next_lower_ = kUnknown;
  size_t next_upper_ = kUnknown;
};

}  // namespace

bool matches_at(std::string_view text, size_t at, std::string_view pattern, bool ignore_case) {
  if (at > text.size() || text.size() - at < pattern.size()) return false;
  const char* t = text.data() + at;
  if (!ignore_case) return std::memcmp(t, pattern.data(), pattern.size()) == 0;
  bool second_byte = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (second_byte ? t[i] != pattern[i] : ascii_lower(t[i]) != ascii_lower(pattern[i])) {
      return false;
    }
    second_byte = !second_byte && is_lead_byte(t[i]);
  }
  return true;
}

size_t find_on_char_start(std::string_view text, std::string_view pattern, size_t from,
                          bool ignore_case) {
  const size_t n = text.size();
  if (pattern.empty() || from >= n || n - from < pattern.size()) return kNotFound;
  CandidateFinder candidates(text, pattern, ignore_case);
  // `known` is always a character start of the walk from `from`. A candidate c starts a
  // character exactly when the run of bytes >= 0x80 just before it has even length: the
  // byte after any byte < 0x80 starts a character (that byte is either a character of its
  // own or the second byte of one), and inside a run of bytes >= 0x80 characters are pairs.
  // The run is counted back no further than `known`, which moves forward with every
  // candidate, so each byte is looked at a bounded number of times.
  size_t known = from;
  size_t at = from;
  for (;;) {
    const size_t c = candidates.next(at);
    if (c == kNotFound) return kNotFound;
    size_t k = c;
    while (k > known && is_lead_byte(text[k - 1])) --k;
    if ((c - k) % 2 != 0) {
      known = c + 1;  // c is the second byte of the character at c - 1
    } else {
      if (is_lead_byte(text[c]) && c + 1 == n) return kNotFound;  // lone lead byte ends the walk
      if (matches_at(text, c, pattern, ignore_case)) return c;
      known = c;
    }
    at = c + 1;
  }
}

size_t find_last_on_char_start(std::string_view text, std::string_view pattern, bool ignore_case) {
  const size_t n = text.size();
  const size_t m = pattern.size();
  if (m == 0 || m > n) return kNotFound;
  // Offsets in [run_start, run_end] all have only bytes >= 0x80 between run_start and
  // themselves, and run_start follows a byte < 0x80 or is 0: one backward count serves them.
  size_t run_start = kNotFound;
  size_t run_end = 0;
  const char first = ascii_lower(pattern[0]);
  size_t c = n - m;
  for (;;) {
    if (!ignore_case) {
      c = text.rfind(pattern, c);
      if (c == kNotFound) return kNotFound;
    } else {
      while (ascii_lower(text[c]) != first ||
             !equal_bytes_folded(text.data() + c, pattern.data(), m)) {
        if (c == 0) return kNotFound;
        --c;
      }
    }
    if (run_start == kNotFound || c < run_start || c > run_end) {
      run_start = c;
      while (run_start > 0 && is_lead_byte(text[run_start - 1])) --run_start;
      run_end = c;
    }
    const bool char_start = (c - run_start) % 2 == 0;
    const bool lone_lead = is_lead_byte(text[c]) && c + 1 == n;
    if (char_start && !lone_lead && matches_at(text, c, pattern, ignore_case)) return c;
    if (c == 0) return kNotFound;
    --c;
  }
}
