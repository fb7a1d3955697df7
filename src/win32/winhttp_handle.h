#ifndef MOYAN_WIN32_WINHTTP_HANDLE_H_
#define MOYAN_WIN32_WINHTTP_HANDLE_H_

#include <windows.h>

#include <winhttp.h>

#include "win32/owned_handle.h"

namespace win32 {

// A WinHttp handle: a session, a connection, a request. Users link winhttp. (WinHttp's
// and WinInet's headers can't be included together, hence a header of its own.)
struct WinHttpTraits {
  using Handle = HINTERNET;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { WinHttpCloseHandle(h); }
};
using WinHttpHandle = Owned<WinHttpTraits>;

}  // namespace win32

#endif  // MOYAN_WIN32_WINHTTP_HANDLE_H_
