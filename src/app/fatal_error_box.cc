#include <windows.h>

#include "app/fatal_error.h"
#include "win32/code_page.h"

void show_fatal_error(std::optional<int> code, const std::string& message) {
  MessageBoxW(nullptr, win32::widen(fatal_error_text(code, message)).c_str(), L"错误",
              MB_ICONERROR | MB_OK | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(-1));
}
