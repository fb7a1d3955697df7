#include "win32/message_pump.h"

namespace win32 {
namespace {

// Dispatches what is waiting; false when a request to quit came (it is posted again, so
// the thread's own loop still sees it).
bool dispatch_waiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    // Keyboard navigation between a window's controls, as in the thread's own loop.
    HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace

void run_pending_messages() {
  dispatch_waiting();
}

DWORD wait_running_messages(HANDLE object, DWORD milliseconds) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    const ULONGLONG spent = GetTickCount64() - start;
    const DWORD left = spent >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - spent);
    const DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return woke;
    if (!dispatch_waiting()) return WAIT_FAILED;
  }
}

}  // namespace win32
