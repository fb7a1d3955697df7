#include "text/char_scan.h"

#include <cstdint>
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
// character was folded. Long pages are filtered sixteen offsets at a time on the pattern's
// first and last byte, which keeps a search close to a plain byte search either way.
class CandidateFinder {
 public:
  CandidateFinder(std::string_view text, std::string_view pattern, bool ignore_case)
      : text_(text), pattern_(pattern), ignore_case_(ignore_case) {
    // Setting bit 0x20 lowers a letter; as a filter it lets a few other bytes through
    // ('@' with '`' and the like), which the full comparison then turns away.
    first_fold_ = ignore_case && is_ascii_letter(pattern.front()) ? 0x20 : 0;
    last_fold_ = ignore_case && is_ascii_letter(pattern.back()) ? 0x20 : 0;
    first_ = static_cast<char>(pattern.front() | first_fold_);
    last_ = static_cast<char>(pattern.back() | last_fold_);
  }

  // First candidate at or after `from`, kNotFound when none.
  size_t next(size_t from) const {
    const size_t m = pattern_.size();
    if (m > text_.size()) return kNotFound;
    const size_t end = text_.size() - m + 1;  // candidates lie in [from, end)
    if (from >= end) return kNotFound;
    const char* t = text_.data();
    if (m == 1 && first_fold_ == 0) {
      const void* hit = std::memchr(t + from, first_, end - from);
      return hit == nullptr ? kNotFound : static_cast<size_t>(static_cast<const char*>(hit) - t);
    }
    size_t i = from;
#if defined(__GNUC__)
    using Bytes16 = signed char __attribute__((vector_size(16)));
    // A scalar operand is spread over every lane.
    const Bytes16 first_fold = Bytes16{} + static_cast<signed char>(first_fold_);
    const Bytes16 last_fold = Bytes16{} + static_cast<signed char>(last_fold_);
    const Bytes16 first = Bytes16{} + static_cast<signed char>(first_);
    const Bytes16 last = Bytes16{} + static_cast<signed char>(last_);
    for (; end - i >= 16; i += 16) {
      Bytes16 head;
      Bytes16 tail;
      std::memcpy(&head, t + i, 16);
      std::memcpy(&tail, t + i + m - 1, 16);
      const Bytes16 both = ((head | first_fold) == first) & ((tail | last_fold) == last);
      uint64_t halves[2];
      std::memcpy(halves, &both, 16);
      if ((halves[0] | halves[1]) == 0) continue;
      for (size_t j = 0; j < 16; ++j) {
        if (both[j] != 0 && equal_at(i + j)) return i + j;
      }
    }
#endif
    for (; i < end; ++i) {
      if (static_cast<char>(t[i] | first_fold_) == first_ &&
          static_cast<char>(t[i + m - 1] | last_fold_) == last_ && equal_at(i)) {
        return i;
      }
    }
    return kNotFound;
  }

 private:
  bool equal_at(size_t at) const {
    const char* t = text_.data() + at;
    if (!ignore_case_) return std::memcmp(t, pattern_.data(), pattern_.size()) == 0;
    return equal_bytes_folded(t, pattern_.data(), pattern_.size());
  }

  std::string_view text_;
  std::string_view pattern_;
  bool ignore_case_;
  char first_fold_ = 0;
  char last_fold_ = 0;
  char first_ = 0;
  char last_ = 0;
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
