#ifndef MOYAN_STORE_EMPTY_LIBRARY_H_
#define MOYAN_STORE_EMPTY_LIBRARY_H_

#include <string>

#include "store/status.h"
#include "text/date_time.h"

// Field widths of a new library's fixed-width texts, in bytes. Titles are the look-up
// key and a file's base name, addresses and full paths reach MAX_PATH: both stay inside
// the record, so a look-up by title reads no companion block.
inline constexpr int kTitleWidth = 256;
inline constexpr int kCategoryWidth = 16;
inline constexpr int kSizeWidth = 16;
inline constexpr int kRatingWidth = 16;
inline constexpr int kUpdateTimeWidth = 32;
inline constexpr int kAddressWidth = 260;

// The creation time of the empty library that ships beside the program: a fixed one, so
// that every build carries the same bytes (2026-12-08 00:00:00).
inline constexpr DateTime kShippedLibraryCreated{46364};

// Creates an empty library (the seven entry fields, no records) and its companion file at
// a path as store_open takes it, with its creation time in the header, as other programs
// that write such files put it there. Never replaces an existing file (kExists names it);
// a missing folder gives kNotFound naming the folder.
Status create_empty_library(const std::string& path, DateTime created = kShippedLibraryCreated);

#endif  // MOYAN_STORE_EMPTY_LIBRARY_H_
