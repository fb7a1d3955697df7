// Text the skin library draws against what is behind it: the measure, the shades the
// library takes when a colour would not read, and every text of the program's 33 skins.
#include "skin/skin_contrast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/skin_data.h"

namespace {

// The bar every text is held to: the usual rule for normal-sized text.
constexpr double kReadable = 4.5;

std::string describe(SkinRgb c) {
  char text[32];
  std::snprintf(text, sizeof(text), "#%02X%02X%02X", c.r, c.g, c.b);
  return text;
}

TEST(Contrast, RatiosOfKnownPairs) {
  const struct {
    SkinRgb a, b;
    double ratio;
  } cases[] = {
      {{0, 0, 0}, {255, 255, 255}, 21.0},
      {{255, 255, 255}, {0, 0, 0}, 21.0},           // either way round
      {{77, 166, 222}, {77, 166, 222}, 1.0},        // the same colour
      {{0x76, 0x76, 0x76}, {255, 255, 255}, 4.54},  // the lightest grey that reads on white
      {{0x77, 0x77, 0x77}, {255, 255, 255}, 4.48},  // one step lighter does not
      {{255, 0, 0}, {255, 255, 255}, 4.00},         // pure red: only its own channel weighs
      {{0, 0, 255}, {0, 0, 0}, 2.44},               // pure blue on black
      {{0, 128, 0}, {255, 255, 255}, 5.14},         // a channel below the linear knee's mirror
      {{3, 3, 3}, {0, 0, 0}, 1.02},                 // inside the linear part near black
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(contrast_ratio(c.a, c.b), c.ratio, 0.01)
        << describe(c.a) << " on " << describe(c.b);
  }
}

TEST(Contrast, LightColoursAreThoseBlackStandsOutFrom) {
  const struct {
    SkinRgb colour;
    bool light;
  } cases[] = {
      {{255, 255, 255}, true},  {{0, 0, 0}, false},      {{77, 166, 222}, true},
      {{117, 117, 117}, false}, {{118, 118, 118}, true},  // where black and white part
      {{40, 48, 72}, false},    {{255, 0, 0}, true},     {{0, 0, 255}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(is_light(c.colour), c.light) << describe(c.colour);
}

enum Change { kKept, kDarker, kLighter };

TEST(Contrast, AColourThatWouldNotReadTakesTheNearestShadeThatDoes) {
  const struct {
    const char* what;
    SkinRgb wanted, background;
    Change change;
  } cases[] = {
      {"black on white", {0, 0, 0}, {255, 255, 255}, kKept},
      {"a dark skin's light text on its dark field", {232, 232, 232}, {58, 58, 58}, kKept},
      {"pale blue on a white page", {140, 170, 227}, {255, 255, 255}, kDarker},
      {"light grey text on a white field", {232, 232, 232}, {255, 255, 255}, kDarker},
      {"a dark skin's text on the window's blue", {220, 228, 244}, {77, 166, 222}, kDarker},
      {"dark blue on a dark field", {28, 98, 160}, {40, 48, 72}, kLighter},
      {"grey on the same grey", {118, 118, 118}, {118, 118, 118}, kDarker},
      {"white on white", {255, 255, 255}, {255, 255, 255}, kDarker},
  };
  for (const auto& c : cases) {
    const SkinRgb got = legible_on(c.wanted, c.background);
    const double ratio = contrast_ratio(got, c.background);
    EXPECT_GE(ratio, kReadable) << c.what << ": " << describe(got);
    switch (c.change) {
      case kKept:
        EXPECT_EQ(got, c.wanted) << c.what << ": a colour that reads was changed";
        break;
      case kDarker:
      case kLighter: {
        const bool darker = c.change == kDarker;
        // A shade of the same colour: every channel moved the same part of its way to
        // black (or white), within rounding.
        const int end = darker ? 0 : 255;
        const double part = [&] {
          double most = 0;
          for (auto [from, to] :
               {std::pair{c.wanted.r, got.r}, {c.wanted.g, got.g}, std::pair{c.wanted.b, got.b}}) {
            if (from != end) most = std::max(most, double(to - from) / (end - from));
          }
          return most;
        }();
        for (auto [from, to] :
             {std::pair{c.wanted.r, got.r}, {c.wanted.g, got.g}, std::pair{c.wanted.b, got.b}}) {
          EXPECT_NEAR(to, from + part * (end - from), 1.5)
              << c.what << ": " << describe(got) << " is no shade of " << describe(c.wanted);
        }
        // Only as far as needed: not far beyond the least contrast.
        EXPECT_LT(ratio, kReadable + 0.3) << c.what << ": " << describe(got);
        break;
      }
    }
  }
}

// ---- The program's skins -------------------------------------------------------------

SkinData program_skin(int number) {
  char name[32];
  std::snprintf(name, sizeof(name), "/skin_%02d.she", number);
  std::ifstream in(std::string(MOYAN_SKIN_BLOCK_DIR) + name, std::ios::binary);
  const std::string block{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  SkinData skin;
  EXPECT_TRUE(read_skin(block, &skin).is_ok()) << "skin " << number;
  return skin;
}

SkinRgb colour(const SkinData& skin, SkinColour role) {
  return skin.colour(role).value_or(SkinRgb{});
}

// What the library paints a shaded caption's rows with: `percent` of the way from a to b.
SkinRgb between(SkinRgb a, SkinRgb b, int percent) {
  auto part = [percent](int x, int y) { return static_cast<uint8_t>(x + (y - x) * percent / 100); };
  return {part(a.r, b.r), part(a.g, b.g), part(a.b, b.b)};
}

using enum SkinColour;

// Every text the library draws on a colour of the skin, and what is behind it.
const struct {
  const char* what;
  SkinColour text;
  bool shaded;  // a caption: every row between the two colours behind it
  std::vector<SkinColour> behind;
} kTexts[] = {
    {"the caption", kCaptionText, true, {kCaptionTop, kCaptionBottom}},
    {"an inactive caption",
     kInactiveCaptionText,
     true,
     {kInactiveCaptionTop, kInactiveCaptionBottom}},
    {"message boxes, dialogs and menus", kWindowText, false, {kWindowBackground}},
    {"check and radio texts in a dialog", kCheckText, false, {kWindowBackground}},
    {"group captions in a dialog", kGroupText, false, {kWindowBackground}},
    {"edit text", kEditText, false, {kEditBackground}},
    {"buttons, resting, under the mouse and pressed",
     kButtonText,
     false,
     {kButtonFace, kButtonFaceHot, kButtonFacePressed}},
    {"drop-down lists and their lists", kComboText, false, {kComboFace}},
    {"the chosen row and menu item", kSelectionText, false, {kSelectionBackground}},
    {"list headers", kHeaderText, false, {kHeaderFace}},
};

TEST(ProgramSkins, EveryTextReadsOnWhatIsBehindIt) {
  for (int number = 1; number <= 33; ++number) {
    const SkinData skin = program_skin(number);
    for (const auto& t : kTexts) {
      std::vector<SkinRgb> behind;
      if (t.shaded) {
        for (int percent = 0; percent <= 100; ++percent) {
          behind.push_back(between(colour(skin, t.behind[0]), colour(skin, t.behind[1]), percent));
        }
      } else {
        for (SkinColour role : t.behind) behind.push_back(colour(skin, role));
      }
      for (SkinRgb background : behind) {
        const SkinRgb text = colour(skin, t.text);
        EXPECT_GE(contrast_ratio(text, background), kReadable)
            << "skin " << number << ", " << t.what << ": " << describe(text) << " on "
            << describe(background);
      }
    }
  }
}

// Check texts and group captions stand on whatever window holds them (the program's white
// pages, its blue window, a dialog of any skin); the library takes a shade that reads there.
TEST(ProgramSkins, TextsOnTheirParentsReadOnAnyOfThem) {
  std::vector<SkinRgb> parents = {{255, 255, 255}, {0, 0, 0}, {77, 166, 222}, {128, 128, 128}};
  std::vector<SkinData> skins;
  for (int number = 1; number <= 33; ++number) {
    skins.push_back(program_skin(number));
    parents.push_back(colour(skins.back(), kWindowBackground));
  }
  for (size_t i = 0; i < skins.size(); ++i) {
    for (SkinColour role : {kCheckText, kGroupText}) {
      for (SkinRgb parent : parents) {
        const SkinRgb shown = legible_on(colour(skins[i], role), parent);
        EXPECT_GE(contrast_ratio(shown, parent), kReadable)
            << "skin " << i + 1 << ", text role " << static_cast<int>(role) << " on "
            << describe(parent);
      }
    }
  }
}

}  // namespace
