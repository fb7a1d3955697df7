#ifndef MOYAN_SKIN_SKIN_CONTRAST_H_
#define MOYAN_SKIN_SKIN_CONTRAST_H_

// How well a text colour stands out from what is behind it, by the relative luminance of
// the two sRGB colours (the measure used for accessible text: 1 for the same colour, 21
// for black on white). Portable: the library picks text colours with it, and the tests
// hold every skin to it.

#include "skin/skin_data.h"

// The least contrast that normal-sized text needs to be read comfortably.
constexpr double kLeastTextContrast = 4.5;

// 0 for black to 1 for white.
double relative_luminance(SkinRgb colour);
// (lighter + 0.05) / (darker + 0.05), from 1 to 21, the same either way round.
double contrast_ratio(SkinRgb a, SkinRgb b);

// Whether black stands out more from it than white does: a light colour, on which dark
// text is written.
bool is_light(SkinRgb colour);

// `wanted` when it reads on `background`; otherwise the shade of it nearest to it,
// darker or lighter, that does. Black or white always does, so one is always found.
SkinRgb legible_on(SkinRgb wanted, SkinRgb background);

#endif  // MOYAN_SKIN_SKIN_CONTRAST_H_
