#ifndef MOYAN_STORE_EMPTY_LIBRARY_H_
#define MOYAN_STORE_EMPTY_LIBRARY_H_

#include <string>

#include "store/status.h"

// Field widths of a new library's fixed-width texts, in bytes. Titles are the look-up
// key and a file's base name, addresses and full paths reach MAX_PATH: both stay inside
// the record, so a look-up by title reads no companion block.
inline constexpr int kTitleWidth = 256;
inline constexpr int kCategoryWidth = 16;
inline constexpr int kSizeWidth = 16;
inline constexpr int kRatingWidth = 16;
inline constexpr int kUpdateTimeWidth = 32;
inline constexpr int kAddressWidth = 260;

// Creates an empty library (the seven entry fields, no records) and its companion file at
// a path as store_open takes it. Never replaces an existing file (kExists names it); a
// missing folder gives kNotFound naming the folder.
Status create_empty_library(const std::string& path);

#endif  // MOYAN_STORE_EMPTY_LIBRARY_H_
