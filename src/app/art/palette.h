// The colours every picture is drawn from: the window's blue, ink black, white and, used
// sparingly like a seal on a painting, vermilion.
#ifndef MOYAN_APP_ART_PALETTE_H_
#define MOYAN_APP_ART_PALETTE_H_

#include "app/art/canvas.h"

constexpr Rgb kWindowBlue = rgb(77, 166, 222);  // the window's background
constexpr Rgb kDeepBlue = rgb(28, 98, 160);
constexpr Rgb kInk = rgb(28, 32, 42);
constexpr Rgb kInkShadow = rgb(16, 52, 92);
constexpr Rgb kSlate = rgb(96, 110, 130);
constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kPaper = rgb(250, 251, 253);
constexpr Rgb kVermilion = rgb(204, 56, 42);

#endif  // MOYAN_APP_ART_PALETTE_H_
