#include "app/program_directory.h"

#include <windows.h>

std::wstring program_directory() {
  // A path cut short comes back filling the buffer: then again with more room (paths end
  // at 32,767 characters).
  for (DWORD room = MAX_PATH; room <= 65536; room *= 2) {
    std::wstring path(room, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), room);
    if (n == 0) return std::wstring();
    if (n < room) {
      path.resize(n);
      const size_t slash = path.find_last_of(L"\\/");
      return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    }
  }
  return std::wstring();
}
