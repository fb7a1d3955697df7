#include "text/gbk_unicode.h"

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
