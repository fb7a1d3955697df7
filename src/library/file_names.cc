#include "library/file_names.h"

#include <array>

namespace {

bool is_forbidden_ascii(unsigned char c) {
  if (c < 0x20) return true;
  switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '/':
    case '\\':
    case '|':
    case '?':
    case '*':
      return true;
    default:
      return false;
  }
}

// A GBK pair: a lead byte 81-FE and a trail byte 40-FE other than 7F.
bool is_lead_byte(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}
bool is_trail_byte(unsigned char c) {
  return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

char fold(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Windows opens these as devices in any folder, whatever extension follows them.
bool is_device_name(std::string_view stem) {
  while (!stem.empty() && stem.front() == ' ') stem.remove_prefix(1);
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  static constexpr std::array<std::string_view, 7> kDevices = {"CON",    "PRN",     "AUX",   "NUL",
                                                               "CONIN$", "CONOUT$", "CLOCK$"};
  auto equal_folded = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (fold(a[i]) != b[i]) return false;
    }
    return true;
  };
  for (std::string_view device : kDevices) {
    if (equal_folded(stem, device)) return true;
  }
  // COM0-COM9 and LPT0-LPT9.
  if (stem.size() == 4 && stem[3] >= '0' && stem[3] <= '9') {
    const std::string_view prefix = stem.substr(0, 3);
    return equal_folded(prefix, "COM") || equal_folded(prefix, "LPT");
  }
  return false;
}

// The UTF-16 units of whole GBK text: every character, of one byte or two, is one unit.
size_t utf16_units_of(std::string_view text) {
  size_t units = 0;
  for (size_t i = 0; i < text.size(); ++i, ++units) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) ++i;
  }
  return units;
}

}  // namespace

bool fits_plain_file_name(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      if (is_forbidden_ascii(c)) return false;
      continue;
    }
    // Half a character (or a byte no GBK character begins with) would turn into some
    // other character when Windows converts the name; refuse it rather than guess.
    if (!is_lead_byte(c) || i + 1 >= name.size()) return false;
    if (!is_trail_byte(static_cast<unsigned char>(name[i + 1]))) return false;
    ++i;
  }
  if (utf16_units_of(name) > kMaxFileNameUnits) return false;
  // The stem Windows compares with its device names: up to the first dot.
  const size_t dot = name.find('.');
  return !is_device_name(name.substr(0, dot));
}

bool fits_in_folder(std::string_view name, size_t folder_units) {
  return fits_plain_file_name(name) && folder_units + 1 + utf16_units_of(name) <= kMaxPathUnits;
}
