#ifndef MOYAN_APP_CARRIED_DATA_H_
#define MOYAN_APP_CARRIED_DATA_H_

#include <string_view>

// What the program file carries as data: the skin library's bytes, the 33 skins, and the
// packed shape picture. Each is a view of the program's own image (empty when missing);
// it lives as long as the process.

// The number of carried skins; they are numbered from 1.
constexpr int kCarriedSkinCount = 33;

std::string_view carried_skin_library();
// Skin `number`, 1 to kCarriedSkinCount; empty for any other number.
std::string_view carried_skin(int number);
std::string_view carried_shape_picture();

#endif  // MOYAN_APP_CARRIED_DATA_H_
