// Skin data blocks: what a reader takes, what it refuses and why, and the program's 33
// skins as the build writes them.
#include "skin/skin_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

// ---- Building blocks by hand, with a correct header unless a case spoils it ------------

void put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

std::string section(std::string_view tag, const std::string& payload, uint8_t version = 1) {
  std::string s(tag);
  s.push_back(static_cast<char>(version));
  s.push_back('\0');
  put16(s, static_cast<uint32_t>(payload.size()));
  return s + payload;
}

// A block of these sections; `count` defaults to their number.
std::string assemble(const std::vector<std::string>& sections, int count = -1,
                     uint16_t version = 1) {
  std::string body;
  for (const std::string& s : sections) body += s;
  std::string block = ".SHE";
  put16(block, version);
  put16(block, static_cast<uint32_t>(count < 0 ? sections.size() : count));
  put32(block, static_cast<uint32_t>(16 + body.size()));
  put32(block, skin_crc32(body));
  return block + body;
}

std::string colour_entry(int role, uint8_t r, uint8_t g, uint8_t b) {
  return {static_cast<char>(role), static_cast<char>(r), static_cast<char>(g),
          static_cast<char>(b)};
}

std::string font_entry(int use, int height, int weight, const std::u16string& face,
                       int stated_units = -1) {
  std::string e(1, static_cast<char>(use));
  put16(e, static_cast<uint32_t>(height));
  put16(e, static_cast<uint32_t>(weight));
  e.push_back(static_cast<char>(stated_units < 0 ? face.size() : stated_units));
  for (char16_t u : face) put16(e, u);
  return e;
}

const std::string kOneColour = section("COLR", colour_entry(5, 1, 2, 3));

SkinData full_skin() {
  SkinData skin;
  skin.name = "\xcc\xec\xc7\xe0";  // a GBK name
  for (int role = 1; role <= kSkinColourLast; ++role) {
    skin.colours[role] = SkinRgb{static_cast<uint8_t>(role), static_cast<uint8_t>(2 * role),
                                 static_cast<uint8_t>(255 - role)};
  }
  skin.caption_font = SkinFont{u"Tahoma", 13, 700};
  return skin;
}

// ---- Reading what a writer wrote ----------------------------------------------------

TEST(SkinData, WrittenSkinsReadBackTheSame) {
  SkinData some_colours;
  some_colours.set(SkinColour::kCaptionTop, {10, 20, 30});
  some_colours.set(SkinColour::kDisabledText, {0, 0, 0});
  SkinData no_font = full_skin();
  no_font.caption_font.reset();
  SkinData long_face = full_skin();
  long_face.caption_font->face = std::u16string(31, u'x');
  const struct {
    const char* name;
    SkinData skin;
  } cases[] = {
      {"every colour, a name and a caption font", full_skin()},
      {"two colours, no name, no font", some_colours},
      {"no font", no_font},
      {"a face of 31 units", long_face},
      {"no colour at all", SkinData{}},
  };
  for (const auto& c : cases) {
    SkinData read;
    const std::string block = write_skin(c.skin);
    const SkinStatus status = read_skin(block, &read);
    ASSERT_TRUE(status.is_ok()) << c.name << ": " << status.why();
    EXPECT_EQ(read, c.skin) << c.name << ": read back differently";
  }
}

TEST(SkinData, WriterCutsWhatNoBlockMayHold) {
  SkinData skin = full_skin();
  skin.name = std::string(80, 'n');
  skin.caption_font->face = std::u16string(40, u'f');
  SkinData read;
  ASSERT_TRUE(read_skin(write_skin(skin), &read).is_ok());
  EXPECT_EQ(read.name.size(), 64u) << "the name is cut to 64 bytes";
  EXPECT_EQ(read.caption_font->face.size(), 31u) << "the face is cut to 31 units";

  skin.caption_font->height = 200;  // past what any block may hold
  ASSERT_TRUE(read_skin(write_skin(skin), &read).is_ok());
  EXPECT_FALSE(read.caption_font) << "a font out of range is left out, not written";
}

TEST(SkinData, CrcIsTheIeeeOne) {
  EXPECT_EQ(skin_crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(skin_crc32(""), 0u);
}

// ---- Refusals -----------------------------------------------------------------------

TEST(SkinData, RefusesBadBlocksAndSaysWhy) {
  const std::string good = assemble({section("NAME", "ab"), kOneColour});
  std::string cut = good;
  cut.pop_back();
  std::string padded = good + "x";
  std::string damaged = good;
  damaged.back() ^= 0x40;
  std::string over_limit = assemble({section("NAME", ""), kOneColour});
  over_limit.resize((1 << 20) + 1);

  const struct {
    const char* name;
    std::string block;
    const char* why;  // a part of the reason given
  } cases[] = {
      {"empty", "", "shorter than its header"},
      {"short", ".SHE\x01", "shorter than its header"},
      {"wrong tag", "XSHE" + good.substr(4), "does not start with .SHE"},
      {"lower-case tag", ".she" + good.substr(4), "does not start with .SHE"},
      {"over 1 MiB", over_limit, "over 1 MiB"},
      {"version 2", assemble({kOneColour}, -1, 2), "format version 2"},
      {"version 0", assemble({kOneColour}, -1, 0), "format version 0"},
      {"no sections", assemble({}, 0), "section count 0"},
      {"65 sections", assemble({kOneColour}, 65), "section count 65"},
      {"cut by a byte", cut, "block length"},
      {"a byte too many", padded, "block length"},
      {"damaged contents", damaged, "CRC-32"},
      {"count past the sections", assemble({kOneColour}, 2), "header past the end"},
      {"count short of the sections", assemble({kOneColour, section("NAME", "a")}, 1),
       "bytes after the last section"},
      {"payload past the end",
       assemble({section("COLR", "").substr(0, 6) + std::string("\xff\x00", 2)}),
       "payload past the end"},
      {"colours not whole entries", assemble({section("COLR", "\x05\x01\x02")}),
       "not a whole number"},
      {"role 0", assemble({section("COLR", colour_entry(0, 1, 1, 1))}), "role 0"},
      {"a role twice",
       assemble({section("COLR", colour_entry(7, 1, 1, 1) + colour_entry(7, 2, 2, 2))}),
       "role 7 twice"},
      {"COLR twice", assemble({kOneColour, kOneColour}), "given twice"},
      {"no COLR", assemble({section("NAME", "a")}), "no COLR"},
      {"name over 64 bytes", assemble({section("NAME", std::string(65, 'a')), kOneColour}),
       "over 64 bytes"},
      {"zero byte in the name", assemble({section("NAME", std::string("a\0b", 3)), kOneColour}),
       "zero byte"},
      {"font height 5", assemble({kOneColour, section("FONT", font_entry(1, 5, 400, u"A"))}),
       "height 5"},
      {"font height 97", assemble({kOneColour, section("FONT", font_entry(1, 97, 400, u"A"))}),
       "height 97"},
      {"font weight 0", assemble({kOneColour, section("FONT", font_entry(1, 12, 0, u"A"))}),
       "weight 0"},
      {"font weight 1001", assemble({kOneColour, section("FONT", font_entry(1, 12, 1001, u"A"))}),
       "weight 1001"},
      {"face of no units", assemble({kOneColour, section("FONT", font_entry(1, 12, 400, u""))}),
       "face of 0 units"},
      {"face of 32 units",
       assemble({kOneColour, section("FONT", font_entry(1, 12, 400, std::u16string(32, u'a')))}),
       "face of 32 units"},
      {"zero unit in the face",
       assemble({kOneColour, section("FONT", font_entry(1, 12, 400, std::u16string(u"a\0b", 3)))}),
       "face of 3 units"},
      {"face past the end",
       assemble({kOneColour, section("FONT", font_entry(1, 12, 400, u"ab", 9))}),
       "face past the end"},
      {"font entry cut short", assemble({kOneColour, section("FONT", "\x01\x0c")}),
       "entry cut short"},
      {"caption font twice",
       assemble({kOneColour,
                 section("FONT", font_entry(1, 12, 400, u"A") + font_entry(1, 13, 400, u"B"))}),
       "caption font twice"},
  };
  for (const auto& c : cases) {
    SkinData skin = full_skin();
    const SkinStatus status = read_skin(c.block, &skin);
    EXPECT_FALSE(status.is_ok()) << c.name << ": taken";
    EXPECT_NE(status.why().find(c.why), std::string::npos)
        << c.name << ": reason \"" << status.why() << "\" does not say \"" << c.why << "\"";
    EXPECT_EQ(skin, full_skin()) << c.name << ": a refused block changed the skin read into";
  }
}

// What a later writer may add is skipped, so its blocks still read.
TEST(SkinData, SkipsWhatALaterWriterMayAdd) {
  const struct {
    const char* name;
    std::string block;
  } cases[] = {
      {"an unknown section", assemble({section("PICT", "whatever"), kOneColour})},
      {"a known section of a later version",
       assemble({section("COLR", "\x01\x02", 2), kOneColour})},
      {"a later colour role",
       assemble({section("COLR", colour_entry(5, 1, 2, 3) + colour_entry(200, 9, 9, 9))})},
      {"a later font use", assemble({kOneColour, section("FONT", font_entry(9, 500, 5000, u""))})},
  };
  for (const auto& c : cases) {
    SkinData skin;
    const SkinStatus status = read_skin(c.block, &skin);
    ASSERT_TRUE(status.is_ok()) << c.name << ": " << status.why();
    EXPECT_EQ(skin.colour(SkinColour::kCaptionTop), (SkinRgb{1, 2, 3})) << c.name;
    EXPECT_FALSE(skin.caption_font) << c.name;
  }
}

// No byte string at all makes the reader misbehave: every cut and every single-byte change
// of a real block is refused or read, never read past its end (the sanitizers watch).
TEST(SkinData, EveryCutAndFlipOfABlockIsHandled) {
  const std::string block = write_skin(full_skin());
  SkinData skin;
  for (size_t n = 0; n < block.size(); ++n) {
    EXPECT_FALSE(read_skin(std::string_view(block).substr(0, n), &skin).is_ok()) << "cut at " << n;
  }
  std::mt19937 random(12);
  int taken = 0;
  for (size_t at = 0; at < block.size(); ++at) {
    std::string changed = block;
    changed[at] = static_cast<char>(changed[at] ^ (1 + random() % 255));
    taken += read_skin(changed, &skin).is_ok();
  }
  EXPECT_EQ(taken, 0) << "a changed byte went unnoticed";
}

// ---- The program's skins -------------------------------------------------------------

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string block_path(int number) {
  char name[32];
  std::snprintf(name, sizeof(name), "/skin_%02d.she", number);
  return std::string(MOYAN_SKIN_BLOCK_DIR) + name;
}

TEST(ProgramSkins, AllThirtyThreeReadWhole) {
  std::vector<std::string> names;
  for (int number = 1; number <= 33; ++number) {
    const std::string block = read_file(block_path(number));
    ASSERT_FALSE(block.empty()) << "skin " << number << " was not written";
    SkinData skin;
    const SkinStatus status = read_skin(block, &skin);
    ASSERT_TRUE(status.is_ok()) << "skin " << number << ": " << status.why();
    for (int role = 1; role <= kSkinColourLast; ++role) {
      EXPECT_TRUE(skin.colours[role]) << "skin " << number << " leaves out role " << role;
    }
    EXPECT_FALSE(skin.name.empty()) << "skin " << number << " has no name";
    EXPECT_TRUE(skin.caption_font) << "skin " << number << " has no caption font";
    EXPECT_EQ(write_skin(skin), block)
        << "skin " << number << ": the build's writer and write_skin() disagree";
    names.push_back(skin.name);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end())
      << "two skins share a name";
}

TEST(ProgramSkins, SkinThirteenIsTheSkyBlueOfTheTable) {
  SkinData skin;
  ASSERT_TRUE(read_skin(read_file(block_path(13)), &skin).is_ok());
  EXPECT_EQ(skin.name, "\xcc\xec\xc7\xe0");  // 天青 in GBK
  EXPECT_EQ(skin.colour(SkinColour::kCaptionTop), (SkinRgb{0x8F, 0xD0, 0xF4}));
  EXPECT_EQ(skin.colour(SkinColour::kCaptionBottom), (SkinRgb{0x3E, 0x98, 0xD4}));
  EXPECT_EQ(skin.colour(SkinColour::kSelectionBackground), (SkinRgb{0x2E, 0x88, 0xC8}));
  // The window's own content keeps black text on white, as its layout says.
  EXPECT_EQ(skin.colour(SkinColour::kEditBackground), (SkinRgb{255, 255, 255}));
}

}  // namespace
