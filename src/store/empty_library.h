#ifndef MOYAN_STORE_EMPTY_LIBRARY_H_
#define MOYAN_STORE_EMPTY_LIBRARY_H_

#include <string>

// Field widths of a new library's fixed-width texts, in bytes. Titles are the look-up
// key and a file's base name, addresses and full paths reach MAX_PATH: both stay inside
// the record, so a look-up by title reads no companion block.
inline constexpr int kTitleWidth = 256;
inline constexpr int kCategoryWidth = 16;
inline constexpr int kSizeWidth = 16;
inline constexpr int kRatingWidth = 16;
inline constexpr int kUpdateTimeWidth = 32;
inline constexpr int kAddressWidth = 260;

// Creates an empty library (the seven entry fields, no records) and its companion file.
// Refuses to replace an existing file; *error says why it failed.
bool create_empty_library(const std::string& path, std::string* error);

#endif  // MOYAN_STORE_EMPTY_LIBRARY_H_
