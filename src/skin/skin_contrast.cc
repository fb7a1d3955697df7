#include "skin/skin_contrast.h"

#include <cmath>

namespace {

double linear(uint8_t channel) {
  const double v = channel / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// `a` moved `percent` of the way to `b`.
SkinRgb towards(SkinRgb a, SkinRgb b, int percent) {
  auto part = [percent](int x, int y) { return static_cast<uint8_t>(x + (y - x) * percent / 100); };
  return {part(a.r, b.r), part(a.g, b.g), part(a.b, b.b)};
}

}  // namespace

double relative_luminance(SkinRgb colour) {
  return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b);
}

double contrast_ratio(SkinRgb a, SkinRgb b) {
  const double la = relative_luminance(a), lb = relative_luminance(b);
  return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

bool is_light(SkinRgb colour) {
  return contrast_ratio(colour, {0, 0, 0}) > contrast_ratio(colour, {255, 255, 255});
}

SkinRgb legible_on(SkinRgb wanted, SkinRgb background) {
  constexpr SkinRgb kBlack = {0, 0, 0}, kWhite = {255, 255, 255};
  // Step by step towards black and towards white at once: the first shade that reads is
  // the one that changes the colour least. Black or white always reads (against the
  // worst background one of them still stands out by 4.58 : 1), so the walk ends.
  for (int percent = 0; percent <= 100; ++percent) {
    for (SkinRgb end : {kBlack, kWhite}) {
      const SkinRgb shade = towards(wanted, end, percent);
      if (contrast_ratio(shade, background) >= kLeastTextContrast) return shade;
    }
  }
  return kBlack;  // not reached
}
