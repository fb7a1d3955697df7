#ifndef MOYAN_LIBRARY_FILE_NAMES_H_
#define MOYAN_LIBRARY_FILE_NAMES_H_

#include <string_view>

// Whether `name` (GBK) names a plain file inside a folder on Windows, and nothing else: it
// is whole GBK text, holds no path separator, drive colon, wildcard or other character
// Windows forbids in a file name (nor a control character), doesn't end in a dot or a
// space (which Windows would drop), and isn't a device (CON, PRN, AUX, NUL, COM0-9,
// LPT0-9, CONIN$, CONOUT$, CLOCK$, with or without an extension). Delivered and exported
// files are named after titles, some cut from web pages, so "..\..\x", "C:\x" or "NUL" must
// write nothing.
// Also within the longest name the file system takes (kMaxFileNameUnits).
bool fits_plain_file_name(std::string_view name);

// The longest file name Windows' file systems take, in UTF-16 units, and the longest full
// path the program's file calls take (MAX_PATH less the terminating zero).
inline constexpr size_t kMaxFileNameUnits = 255;
inline constexpr size_t kMaxPathUnits = 259;

// Whether `name` names a plain file (fits_plain_file_name) in a folder whose full path is
// `folder_units` UTF-16 units long, the whole path folder + "\" + name within
// kMaxPathUnits. A longer name is not cut short: it is refused, so nothing is written
// under a name other than the title's.
bool fits_in_folder(std::string_view name, size_t folder_units);

#endif  // MOYAN_LIBRARY_FILE_NAMES_H_
