#include <windows.h>

#include <atomic>
#include <iterator>

#include "app/fatal_error.h"
#include "win32/code_page.h"

namespace {

constexpr wchar_t kCaption[] = L"错误";
constexpr UINT kBoxStyle = MB_ICONERROR | MB_OK | MB_TASKMODAL;

// A second fatal error while one is being reported (memory running out inside the box,
// another thread failing too) ends the process at once instead of reporting again.
std::atomic<bool> reporting{false};

[[noreturn]] void end_process() {
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

void show_fatal_error(std::optional<int> code, const std::string& message) {
  if (reporting.exchange(true)) end_process();
  MessageBoxW(nullptr, win32::widen(fatal_error_text(code, message)).c_str(), kCaption, kBoxStyle);
  end_process();
}

void show_out_of_memory(size_t bytes) {
  if (reporting.exchange(true)) end_process();
  FixedText text = allocation_failure_text(bytes);
  wchar_t wide[std::size(FixedText{}.bytes)];
  win32::widen_into(text.view(), wide, std::size(wide));
  MessageBoxW(nullptr, wide, kCaption, kBoxStyle);
  end_process();
}
