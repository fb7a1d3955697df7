#include "skin/skin_data.h"

#include <string>

// A block of skin data. Integers are little-endian and unsigned.
//
//   Block header, 16 bytes
//     0   4  ".SHE"
//     4   2  format version: 1. A block of another version is refused whole: its header
//            or section framing may differ.
//     6   2  number of sections that follow, 1 to kMaxSections
//     8   4  length of the whole block, header included: must equal the bytes handed
//            over, so a cut or padded block is seen at once
//     12  4  CRC-32 of bytes 16 to the end: a damaged block is refused before any value
//            of it is believed
//   Sections, one after the other, filling the block exactly. Each has a header:
//     0   4  tag, four ASCII bytes
//     4   1  section version
//     5   1  0 when written; not checked
//     6   2  payload length, at most what is left of the block
//   then its payload. A section whose tag or version this reader doesn't know is
//   skipped (a later writer may add some); a known section given twice is refused.
//
//   "NAME" version 1: the skin's name, GBK, 0 to 64 bytes, no zero byte.
//   "COLR" version 1 (required): entries of 4 bytes: role (SkinColour), red, green,
//          blue. Roles past kSkinColourLast are skipped (later roles); role 0 and a
//          role given twice are refused.
//   "FONT" version 1: entries: use (SkinFontUse, 1 byte), height in pixels (2 bytes),
//          weight (2 bytes), face length in UTF-16 units (1 byte), the face's units
//          (2 bytes each). Unknown uses are skipped; a use given twice, a height outside
//          6-96, a weight outside 1-1000, a face of 0 or more than 31 units or holding a
//          zero unit is refused.

namespace {

constexpr char kMagic[4] = {'.', 'S', 'H', 'E'};
constexpr uint16_t kFormatVersion = 1;
constexpr size_t kHeaderSize = 16;
constexpr size_t kSectionHeaderSize = 8;
// Bounds that keep a hostile block cheap: a real skin has three sections and a few
// hundred bytes.
constexpr uint16_t kMaxSections = 64;
constexpr size_t kMaxBlock = 1 << 20;
constexpr size_t kMaxName = 64;
constexpr size_t kMaxFace = 31;  // a Windows face name holds 31 characters and a zero
constexpr int kMinFontHeight = 6, kMaxFontHeight = 96;
constexpr int kMinFontWeight = 1, kMaxFontWeight = 1000;

constexpr uint8_t kNameVersion = 1, kColourVersion = 1, kFontVersion = 1;
constexpr size_t kColourEntry = 4;
constexpr size_t kFontEntryHead = 6;

uint16_t get_u16(const char* p) {
  const auto* b = reinterpret_cast<const uint8_t*>(p);
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}
uint32_t get_u32(const char* p) {
  const auto* b = reinterpret_cast<const uint8_t*>(p);
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}
void put_u16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put_u32(std::string& out, uint32_t v) {
  put_u16(out, v & 0xFFFF);
  put_u16(out, v >> 16);
}
void set_u32(std::string& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string where(std::string_view tag) {
  return std::string("section ") + std::string(tag) + ": ";
}

SkinStatus read_name(std::string_view payload, SkinData& skin) {
  if (payload.size() > kMaxName) return SkinStatus::refused("section NAME: name over 64 bytes");
  if (payload.find('\0') != std::string_view::npos) {
    return SkinStatus::refused("section NAME: zero byte in the name");
  }
  skin.name = std::string(payload);
  return SkinStatus::ok();
}

SkinStatus read_colours(std::string_view payload, SkinData& skin) {
  if (payload.size() % kColourEntry != 0) {
    return SkinStatus::refused("section COLR: length not a whole number of entries");
  }
  for (size_t at = 0; at < payload.size(); at += kColourEntry) {
    const auto role = static_cast<uint8_t>(payload[at]);
    if (role == 0) return SkinStatus::refused("section COLR: role 0");
    if (role > kSkinColourLast) continue;  // a role of a later writer
    if (skin.colours[role]) {
      return SkinStatus::refused("section COLR: role " + std::to_string(role) + " twice");
    }
    skin.colours[role] =
        SkinRgb{static_cast<uint8_t>(payload[at + 1]), static_cast<uint8_t>(payload[at + 2]),
                static_cast<uint8_t>(payload[at + 3])};
  }
  return SkinStatus::ok();
}

SkinStatus read_fonts(std::string_view payload, SkinData& skin) {
  size_t at = 0;
  while (at < payload.size()) {
    if (payload.size() - at < kFontEntryHead) {
      return SkinStatus::refused("section FONT: entry cut short");
    }
    const auto use = static_cast<uint8_t>(payload[at]);
    const int height = get_u16(payload.data() + at + 1);
    const int weight = get_u16(payload.data() + at + 3);
    const size_t units = static_cast<uint8_t>(payload[at + 5]);
    at += kFontEntryHead;
    if (payload.size() - at < 2 * units)
      return SkinStatus::refused("section FONT: face past the end");
    std::u16string face;
    for (size_t i = 0; i < units; ++i, at += 2) {
      face.push_back(static_cast<char16_t>(get_u16(payload.data() + at)));
    }
    if (use != static_cast<uint8_t>(SkinFontUse::kCaption)) continue;  // a later use
    if (skin.caption_font) return SkinStatus::refused("section FONT: caption font twice");
    if (height < kMinFontHeight || height > kMaxFontHeight) {
      return SkinStatus::refused("section FONT: height " + std::to_string(height));
    }
    if (weight < kMinFontWeight || weight > kMaxFontWeight) {
      return SkinStatus::refused("section FONT: weight " + std::to_string(weight));
    }
    if (face.empty() || face.size() > kMaxFace || face.find(u'\0') != std::u16string::npos) {
      return SkinStatus::refused("section FONT: face of " + std::to_string(units) + " units");
    }
    skin.caption_font = SkinFont{std::move(face), height, weight};
  }
  return SkinStatus::ok();
}

void write_section(std::string& out, const char (&tag)[5], uint8_t version,
                   const std::string& payload) {
  out.append(tag, 4);
  out.push_back(static_cast<char>(version));
  out.push_back('\0');
  put_u16(out, static_cast<uint32_t>(payload.size()));
  out += payload;
}

}  // namespace

uint32_t skin_crc32(std::string_view bytes) {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes) crc = table[(crc ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

SkinStatus read_skin(std::string_view block, SkinData* skin) {
  if (block.size() < kHeaderSize) return SkinStatus::refused("block shorter than its header");
  if (block.substr(0, 4) != std::string_view(kMagic, 4)) {
    return SkinStatus::refused("block does not start with .SHE");
  }
  if (block.size() > kMaxBlock) return SkinStatus::refused("block over 1 MiB");
  const uint16_t version = get_u16(block.data() + 4);
  if (version != kFormatVersion) {
    return SkinStatus::refused("format version " + std::to_string(version));
  }
  const uint16_t sections = get_u16(block.data() + 6);
  if (sections == 0 || sections > kMaxSections) {
    return SkinStatus::refused("section count " + std::to_string(sections));
  }
  if (get_u32(block.data() + 8) != block.size()) {
    return SkinStatus::refused("block length " + std::to_string(get_u32(block.data() + 8)) +
                               " given, " + std::to_string(block.size()) + " bytes present");
  }
  if (get_u32(block.data() + 12) != skin_crc32(block.substr(kHeaderSize))) {
    return SkinStatus::refused("contents do not match their CRC-32");
  }

  SkinData read;
  bool seen_name = false;
  bool seen_colours = false;
  bool seen_fonts = false;
  size_t at = kHeaderSize;
  for (uint16_t i = 0; i < sections; ++i) {
    if (block.size() - at < kSectionHeaderSize) {
      return SkinStatus::refused("section " + std::to_string(i + 1) + ": header past the end");
    }
    const std::string_view tag = block.substr(at, 4);
    const auto section_version = static_cast<uint8_t>(block[at + 4]);
    const size_t length = get_u16(block.data() + at + 6);
    at += kSectionHeaderSize;
    if (block.size() - at < length) return SkinStatus::refused(where(tag) + "payload past the end");
    const std::string_view payload = block.substr(at, length);
    at += length;

    SkinStatus status = SkinStatus::ok();
    bool* seen = nullptr;
    if (tag == "NAME" && section_version == kNameVersion) {
      seen = &seen_name;
      if (!*seen) status = read_name(payload, read);
    } else if (tag == "COLR" && section_version == kColourVersion) {
      seen = &seen_colours;
      if (!*seen) status = read_colours(payload, read);
    } else if (tag == "FONT" && section_version == kFontVersion) {
      seen = &seen_fonts;
      if (!*seen) status = read_fonts(payload, read);
    }
    if (seen != nullptr) {
      if (*seen) return SkinStatus::refused(where(tag) + "given twice");
      *seen = true;
    }
    if (!status.is_ok()) return status;
  }
  if (at != block.size()) return SkinStatus::refused("bytes after the last section");
  if (!seen_colours) return SkinStatus::refused("no COLR section");
  *skin = std::move(read);
  return SkinStatus::ok();
}

std::string write_skin(const SkinData& skin) {
  std::string name = skin.name.substr(0, kMaxName);
  if (size_t zero = name.find('\0'); zero != std::string::npos) name.resize(zero);

  std::string colours;
  for (int role = 1; role <= kSkinColourLast; ++role) {
    if (const auto& rgb = skin.colours[static_cast<size_t>(role)]) {
      colours.push_back(static_cast<char>(role));
      colours.push_back(static_cast<char>(rgb->r));
      colours.push_back(static_cast<char>(rgb->g));
      colours.push_back(static_cast<char>(rgb->b));
    }
  }

  std::string fonts;
  if (const auto& font = skin.caption_font) {
    std::u16string face = font->face.substr(0, kMaxFace);
    if (size_t zero = face.find(u'\0'); zero != std::u16string::npos) face.resize(zero);
    if (!face.empty() && font->height >= kMinFontHeight && font->height <= kMaxFontHeight &&
        font->weight >= kMinFontWeight && font->weight <= kMaxFontWeight) {
      fonts.push_back(static_cast<char>(SkinFontUse::kCaption));
      put_u16(fonts, static_cast<uint32_t>(font->height));
      put_u16(fonts, static_cast<uint32_t>(font->weight));
      fonts.push_back(static_cast<char>(face.size()));
      for (char16_t unit : face) put_u16(fonts, unit);
    }
  }

  std::string out(kMagic, 4);
  put_u16(out, kFormatVersion);
  put_u16(out, fonts.empty() ? 2 : 3);
  put_u32(out, 0);  // length and CRC, filled in below
  put_u32(out, 0);
  write_section(out, "NAME", kNameVersion, name);
  write_section(out, "COLR", kColourVersion, colours);
  if (!fonts.empty()) write_section(out, "FONT", kFontVersion, fonts);
  set_u32(out, 8, static_cast<uint32_t>(out.size()));
  set_u32(out, 12, skin_crc32(std::string_view(out).substr(kHeaderSize)));
  return out;
}
