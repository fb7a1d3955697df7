#include "gbk_to_utf8.h"

namespace {

void append_utf8(long cp, std::string* out) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (cp >> 18));
    *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr long kReplacement = 0xFFFD;

}  // namespace

std::string gbk_to_utf8(const std::string& gbk) {
  std::string out;
  for (size_t i = 0; i < gbk.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      append_utf8(c, &out);
      continue;
    }
    long cp = -1;
    if (i + 1 < gbk.size()) cp = gbk_pair_to_code_point(c, static_cast<unsigned char>(gbk[i + 1]));
    if (cp < 0) {
      // Only this byte is lost; the next one starts afresh.
      append_utf8(kReplacement, &out);
    } else {
      append_utf8(cp, &out);
      ++i;
    }
  }
  return out;
}
