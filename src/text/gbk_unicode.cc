#include "text/gbk_unicode.h"

#include <vector>

namespace {

constexpr int kFirstLead = 0x81;
constexpr int kLastLead = 0xFE;
constexpr int kFirstTrail = 0x40;
constexpr int kLastTrail = 0xFE;
constexpr int kTrails = kLastTrail - kFirstTrail + 1;

// 0 where a pair begins no character.
constexpr uint16_t kTable[] = {
#include "gbk_table.inc"
};
static_assert(sizeof kTable / sizeof kTable[0] == (kLastLead - kFirstLead + 1) * kTrails);

constexpr char32_t kReplacement = 0xFFFD;

void append_utf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // The table holds only characters of the Basic Multilingual Plane.
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// GBK code of each character of the Basic Multilingual Plane, 0 where GBK has none; the
// first code met wins where two give one character.
const std::vector<uint16_t>& gbk_of_unicode() {
  static const std::vector<uint16_t> table = [] {
    std::vector<uint16_t> t(0x10000, 0);
    for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
      for (int trail = kFirstTrail; trail <= kLastTrail; ++trail) {
        const uint16_t cp = kTable[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
        if (cp != 0 && t[cp] == 0) t[cp] = static_cast<uint16_t>(lead << 8 | trail);
      }
    }
    return t;
  }();
  return table;
}

// The character at `at` and its length in bytes; -1 (length 1) for a byte that begins
// none.
int32_t next_utf8(std::string_view text, size_t at, size_t* length) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  *length = 1;
  if (first < 0x80) return first;
  const size_t n = first >= 0xF0 && first <= 0xF4 ? 4 : first >= 0xE0 ? 3 : first >= 0xC2 ? 2 : 0;
  if (n == 0 || first > 0xF4 || at + n > text.size()) return -1;
  int32_t cp = first & (0xFF >> (n + 1));
  for (size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return -1;
    cp = cp << 6 | (byte(at + i) & 0x3F);
  }
  // Overlong forms and surrogates begin no character.
  const int32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < least[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return -1;
  *length = n;
  return cp;
}

}  // namespace

int32_t gbk_pair_to_unicode(unsigned char lead, unsigned char trail) {
  if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail) {
    return -1;
  }
  uint16_t cp = kTable[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
  return cp == 0 ? -1 : cp;
}

std::string gbk_to_utf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  for (size_t i = 0; i < gbk.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    int32_t cp = -1;
    if (i + 1 < gbk.size()) cp = gbk_pair_to_unicode(c, static_cast<unsigned char>(gbk[i + 1]));
    if (cp < 0) {
      append_utf8(kReplacement, &out);
    } else {
      append_utf8(static_cast<char32_t>(cp), &out);
      ++i;
    }
  }
  return out;
}

std::string utf8_to_gbk(std::string_view utf8, bool* lossy) {
  const std::vector<uint16_t>& table = gbk_of_unicode();
  std::string out;
  out.reserve(utf8.size());
  bool lost = false;
  for (size_t i = 0; i < utf8.size();) {
    size_t length = 1;
    const int32_t cp = next_utf8(utf8, i, &length);
    i += length;
    if (cp >= 0 && cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp >= 0x80 && cp < 0x10000 && table[static_cast<size_t>(cp)] != 0) {
      out += static_cast<char>(table[static_cast<size_t>(cp)] >> 8);
      out += static_cast<char>(table[static_cast<size_t>(cp)] & 0xFF);
    } else {
      out += '?';
      lost = true;
    }
  }
  if (lossy != nullptr) *lossy = lost;
  return out;
}
