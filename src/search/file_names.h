#ifndef MOYAN_SEARCH_FILE_NAMES_H_
#define MOYAN_SEARCH_FILE_NAMES_H_

#include <string_view>

// Whether `name` (GBK) names a plain file inside a folder on Windows, and nothing else: it
// is whole GBK text, holds no path separator, drive colon, wildcard or other character
// Windows forbids in a file name (nor a control character), doesn't end in a dot or a
// space (which Windows would drop), and isn't a device (CON, PRN, AUX, NUL, COM0-9,
// LPT0-9, CONIN$, CONOUT$, CLOCK$, with or without an extension). Delivered files are
// named after titles cut from web pages, so "..\..\x", "C:\x" or "NUL" must write nothing.
bool fits_plain_file_name(std::string_view name);

#endif  // MOYAN_SEARCH_FILE_NAMES_H_
