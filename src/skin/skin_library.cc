// SkinH_EL.dll: restyles the windows of the process that attaches a skin.
//
//   int SkinH_AttachRes(const unsigned char* data, int length, const char* text,
//                       int, int, int)   (standard calling convention)
//
// `data`/`length` is a block of skin data (skin/skin_data.h). The skin is read whole
// first; a block that is refused changes nothing. Empty data (null and 0) attaches nothing
// and leaves every window as it looks. `text` and the three numbers are reserved: callers
// pass an empty text and zeros.
//
// Once a skin is attached, every window of the attaching thread (the thread that runs a
// program's windows) is taken under it, and so is every window that any thread of the
// process creates later: the window's thread and workers that ask a question alike (a
// hook on each thread sees each new window before its first message; followed_threads.h).
// Windows of other processes are never touched. A later attach replaces the skin and
// repaints. The library then stays loaded for the life of the process, since windows
// carry its procedures.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <new>
#include <string_view>

#include "skin/attached_skin.h"
#include "skin/exclusive_lock.h"
#include "skin/followed_threads.h"
#include "skin/skin_data.h"
#include "skin/skinned_window.h"

#ifdef MOYAN_SKIN_RECORDS_CALLS
#include "skin/call_record.h"
#endif

namespace {

// What the entry point returns. The program ignores it; tools and tests read it.
constexpr int kAttached = 1;
constexpr int kNothingToAttach = 0;  // empty data
constexpr int kBadArguments = -1;    // a negative length, or a length without data
constexpr int kRefused = -2;         // the block was not accepted; nothing changed
constexpr int kFailed = -3;          // out of memory or handles while attaching

// One attach at a time.
SRWLOCK attaching = SRWLOCK_INIT;

// Keeps the library loaded whatever the caller does with its handle.
void stay_loaded() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&stay_loaded), &self);
}

int attach(const unsigned char* data, int length) {
  if (length < 0 || (data == nullptr && length != 0)) return kBadArguments;
  if (length == 0) return kNothingToAttach;
  SkinData read;
  const std::string_view block(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
  if (!read_skin(block, &read).is_ok()) return kRefused;
  {
    ExclusiveLock one_at_a_time(attaching);
    stay_loaded();
    if (!follow_every_thread()) return kFailed;
    // The same skin again makes nothing new: its windows look as they should already.
    const AttachedSkin* current = current_skin();
    if (current == nullptr || !(current->data() == read)) {
      // Kept for the life of the process: windows of other threads may paint with it still.
      publish_skin(std::make_unique<AttachedSkin>(read).release());
    }
  }
  skin_thread_windows();
  repaint_thread_windows();
  repaint_other_threads_windows();
  return kAttached;
}

}  // namespace

extern "C" __declspec(dllexport) int WINAPI
    SkinH_AttachRes(const unsigned char* data, int length, const char* text, int reserved4,
                    int reserved5, int reserved6) {
#ifdef MOYAN_SKIN_RECORDS_CALLS
  record_call(data, length, text, reserved4, reserved5, reserved6);
#else
  (void)text, (void)reserved4, (void)reserved5, (void)reserved6;
#endif
  try {
    return attach(data, length);
  } catch (const std::bad_alloc&) {
    return kFailed;
  }
}

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, void* /*reserved*/) {
  switch (reason) {
    case DLL_THREAD_ATTACH:
      thread_started();
      break;
    case DLL_THREAD_DETACH:
      thread_ending();
      break;
    default:
      break;
  }
  return TRUE;
}
