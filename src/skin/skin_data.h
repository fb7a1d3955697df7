#ifndef MOYAN_SKIN_SKIN_DATA_H_
#define MOYAN_SKIN_SKIN_DATA_H_

// A skin: the colours and the caption font that the skin library gives the windows of a
// process, read from (and written to) one block of skin data. Portable: the library reads
// blocks with it, the build's generator and the tests write them. The byte layout is
// described once, in skin_data.cc.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct SkinRgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const SkinRgb&, const SkinRgb&) = default;
};

// What each colour of a skin paints. The numbers are stored in blocks: never renumber.
enum class SkinColour : uint8_t {
  kWindowBackground = 1,  // dialogs and message boxes
  kWindowText = 2,
  kFrame = 3,          // the border of a captioned window
  kFrameEdge = 4,      // the border's outermost line
  kCaptionTop = 5,     // the caption bar of the active window: top row ...
  kCaptionBottom = 6,  // ... to bottom row, shaded between
  kCaptionText = 7,
  kInactiveCaptionTop = 8,
  kInactiveCaptionBottom = 9,
  kInactiveCaptionText = 10,
  kCaptionButtonFace = 11,  // minimise, maximise and close in the caption
  kCaptionButtonHot = 12,
  kCaptionButtonPressed = 13,
  kCaptionButtonGlyph = 14,
  kEditBackground = 15,
  kEditText = 16,
  kEditBorder = 17,  // edit boxes and lists with a sunken edge
  kEditBorderFocus = 18,
  kButtonFace = 19,  // push buttons
  kButtonFaceHot = 20,
  kButtonFacePressed = 21,
  kButtonBorder = 22,
  kButtonText = 23,
  kCheckFace = 24,  // the box of a check box, the circle of a radio button
  kCheckBorder = 25,
  kCheckBorderHot = 26,
  kCheckMark = 27,
  kCheckText = 28,
  kGroupFrame = 29,
  kGroupText = 30,
  kComboFace = 31,  // a drop-down list's closed field
  kComboText = 32,
  kComboBorder = 33,
  kComboButtonFace = 34,
  kComboArrow = 35,
  kSelectionBackground = 36,  // a chosen list row, a focused drop-down field
  kSelectionText = 37,
  kHeaderFace = 38,  // list headers
  kHeaderText = 39,
  kHeaderDivider = 40,
  kDisabledText = 41,
};
// Roles run from 1 to kSkinColourLast; slot 0 of the colour table is never used.
constexpr int kSkinColourLast = 41;
constexpr size_t kSkinColourSlots = kSkinColourLast + 1;

// What a skin font is for. Stored in blocks: never renumber.
enum class SkinFontUse : uint8_t {
  kCaption = 1,  // the title in the caption bar
};

struct SkinFont {
  std::u16string face;  // the face name, UTF-16, 1 to 31 units
  int height = 0;       // character height in pixels, 6 to 96
  int weight = 0;       // 1 to 1000 (400 normal, 700 bold)
  friend bool operator==(const SkinFont&, const SkinFont&) = default;
};

struct SkinData {
  std::string name;  // GBK, at most 64 bytes; may be empty
  // By role value; a role a skin leaves out keeps the system's own look.
  std::array<std::optional<SkinRgb>, kSkinColourSlots> colours{};
  std::optional<SkinFont> caption_font;

  const std::optional<SkinRgb>& colour(SkinColour role) const {
    return colours[static_cast<size_t>(role)];
  }
  void set(SkinColour role, SkinRgb rgb) { colours[static_cast<size_t>(role)] = rgb; }
  friend bool operator==(const SkinData&, const SkinData&) = default;
};

// Why a block was refused, or ok.
class SkinStatus {
 public:
  static SkinStatus ok() { return SkinStatus(std::string()); }
  static SkinStatus refused(std::string why) { return SkinStatus(std::move(why)); }
  bool is_ok() const { return why_.empty(); }
  // "" when ok; otherwise what was wrong and where, for tests and tools.
  const std::string& why() const { return why_; }

 private:
  explicit SkinStatus(std::string why) : why_(std::move(why)) {}
  std::string why_;
};

// Reads one whole block. On success fills *skin; on refusal leaves it untouched. Every
// count, length and value is checked against the block before it is used.
SkinStatus read_skin(std::string_view block, SkinData* skin);

// The block of a skin, in the current format version. Names longer than 64 bytes and
// faces longer than 31 units are cut; a font outside the allowed range is left out.
std::string write_skin(const SkinData& skin);

// The IEEE CRC-32 (as zlib's crc32) that guards a block's contents.
uint32_t skin_crc32(std::string_view bytes);

#endif  // MOYAN_SKIN_SKIN_DATA_H_
