#ifndef MOYAN_APP_SKIN_SETUP_H_
#define MOYAN_APP_SKIN_SETUP_H_

#include <string>
#include <string_view>

// The skin library beside the program, and the skin it gives the program's windows.

// The library's file name in the program directory, and its entry point.
extern const char kSkinLibraryName[];   // "SkinH_EL.dll"
extern const char kSkinLibraryEntry[];  // "SkinH_AttachRes"

// Writes the carried skin library to program directory + "\SkinH_EL.dll" when nothing of
// that name exists there (a folder counts): opened for writing only without sharing, then
// given the hidden attribute alone. An existing file is never replaced nor checked. A
// failed write is not reported.
void install_skin_library();
// The same for any path and bytes (for tests).
void install_library_file(const std::wstring& path, std::string_view bytes);

// Installs the library, then attaches carried skin `number` (1 to 33; any other number
// attaches empty skin data) through the library's entry point. The library is loaded by
// its full path in the program directory and its entry point looked up once, at the first
// call; when either is missing the program ends through the fatal error box.
void apply_skin(int number);

#endif  // MOYAN_APP_SKIN_SETUP_H_
