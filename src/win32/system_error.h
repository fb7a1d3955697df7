#ifndef MOYAN_WIN32_SYSTEM_ERROR_H_
#define MOYAN_WIN32_SYSTEM_ERROR_H_

#include <windows.h>

#include <string>

namespace win32 {

// The system's own sentence for an error code, as GBK without the trailing line break;
// "error N" when the system has none.
std::string system_error_text(DWORD code);
// The same for GetLastError() of the calling thread, read before anything else runs.
std::string last_error_text();

}  // namespace win32

#endif  // MOYAN_WIN32_SYSTEM_ERROR_H_
