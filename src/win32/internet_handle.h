#ifndef MOYAN_WIN32_INTERNET_HANDLE_H_
#define MOYAN_WIN32_INTERNET_HANDLE_H_

#include <windows.h>

#include <wininet.h>

#include "win32/owned_handle.h"

namespace win32 {

// A WinInet handle: the root of InternetOpen, a connection, a request. Users link wininet.
struct InternetTraits {
  using Handle = HINTERNET;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { InternetCloseHandle(h); }
};
using InternetHandle = Owned<InternetTraits>;

}  // namespace win32

#endif  // MOYAN_WIN32_INTERNET_HANDLE_H_
