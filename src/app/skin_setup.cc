#include "app/skin_setup.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "app/carried_data.h"
#include "app/fatal_error.h"
#include "app/program_directory.h"
#include "text/byte_set.h"
#include "win32/code_page.h"
#include "win32/owned_handle.h"

const char kSkinLibraryName[] = "SkinH_EL.dll";
const char kSkinLibraryEntry[] = "SkinH_AttachRes";

namespace {

// The entry point: the skin data's address and length, an empty text, and three zeros.
using AttachSkin = int(WINAPI*)(const void* data, int length, const char* text, int, int, int);

std::wstring library_path() {
  return program_directory() + L"\\" + win32::widen(kSkinLibraryName);
}

// Whether anything at all stands under `path`. Only a plain "not there" counts as absent:
// a name the system can't look at (no access, say) may well be taken.
bool nothing_there(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool write_all(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 20));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The call alone in a function of its own, which leaves its stack by the stack pointer: were
// the entry point's calling convention not the library's, the function would return to a
// wrong address at once (in the 32-bit program; 64-bit Windows has one convention) instead
// of going on with a stack that is quietly off.
[[gnu::noinline]] void attach_skin(AttachSkin attach, const ByteSet& skin) {
  static const char empty_text[] = "";
  attach(skin.empty() ? nullptr : skin.data(), static_cast<int>(skin.size()), empty_text, 0, 0, 0);
}

AttachSkin find_entry_point() {
  // By its full path: a library of the same name elsewhere on the search path is never
  // the one loaded.
  win32::OwnedModule library(
      LoadLibraryExW(library_path().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  FARPROC entry = library ? GetProcAddress(library.get(), kSkinLibraryEntry) : nullptr;
  if (entry == nullptr) {
    library.reset();
    show_fatal_error(std::nullopt,
                     missing_entry_point_message(kSkinLibraryName, kSkinLibraryEntry));
  }
  // Loaded for the life of the process: the skinned windows run the library's code.
  library.release();
  return reinterpret_cast<AttachSkin>(reinterpret_cast<void*>(entry));
}

}  // namespace

void install_library_file(const std::wstring& path, std::string_view bytes) {
  if (!nothing_there(path)) return;
  // Written under a name of its own first and given the library's name only when whole:
  // a start that dies or fills the disk while writing leaves no half library, which every
  // later start would find present and fail to load.
  const std::wstring part = path + L".part";
  win32::OwnedHandle file(CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!file) return;
  const bool whole = write_all(file.get(), bytes);
  file.reset();
  // Never over a name taken meanwhile (another start of the program, say).
  if (!whole || !MoveFileExW(part.c_str(), path.c_str(), 0)) {
    DeleteFileW(part.c_str());
    return;
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

void install_skin_library() {
  install_library_file(library_path(), carried_skin_library());
}

void apply_skin(int number) {
  install_skin_library();
  static const AttachSkin attach = find_entry_point();
  // A copy, handed over and released after the call, as the library may not keep it.
  ByteSet skin;
  if (std::string_view carried = carried_skin(number); !carried.empty()) {
    skin = ByteSet(carried.data(), carried.size());
  }
  attach_skin(attach, skin);
}
