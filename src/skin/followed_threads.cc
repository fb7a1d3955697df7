#include "skin/followed_threads.h"

#include <windows.h>

#include <tlhelp32.h>

#include <new>
#include <vector>

#include "skin/attached_skin.h"
#include "skin/exclusive_lock.h"
#include "skin/skinned_window.h"
#include "win32/owned_handle.h"

namespace {

struct Followed {
  DWORD thread;
  HHOOK hook;
};

// Guards `following` and the hooks. Taken from the thread notifications, which run under
// the system's loader lock: nothing done while holding it may wait for that lock.
SRWLOCK guard = SRWLOCK_INIT;
bool following = false;

std::vector<Followed>& followed() {
  static auto* threads = new std::vector<Followed>();  // never freed: hooks outlive statics
  return *threads;
}

LRESULT CALLBACK on_window_event(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND && current_skin() != nullptr) {
    skin_window(reinterpret_cast<HWND>(wparam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Under `guard`. The hook names no module: the system then takes it only for a thread of
// this process, whose address space holds the procedure.
bool follow(DWORD thread) {
  for (const Followed& f : followed()) {
    if (f.thread == thread) return true;
  }
  HHOOK hook = SetWindowsHookExW(WH_CBT, on_window_event, nullptr, thread);
  if (hook == nullptr) return false;
  try {
    followed().push_back({thread, hook});
  } catch (const std::bad_alloc&) {  // never out of a thread notification
    UnhookWindowsHookEx(hook);
    return false;
  }
  return true;
}

// Under `guard`.
void stop_following(DWORD thread) {
  auto& threads = followed();
  for (auto it = threads.begin(); it != threads.end(); ++it) {
    if (it->thread == thread) {
      UnhookWindowsHookEx(it->hook);
      threads.erase(it);
      return;
    }
  }
}

}  // namespace

bool follow_every_thread() {
  {
    ExclusiveLock one_at_a_time(guard);
    following = true;
    if (!follow(GetCurrentThreadId())) return false;
  }
  // Threads that start from here on follow themselves (thread_started); the ones alive
  // already are found in a snapshot. A thread in both is followed once.
  win32::OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return true;
  const DWORD process = GetCurrentProcessId();
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    // The snapshot holds every thread of the system. Each is opened and asked for its
    // process, and held open while it is hooked, so that its id can't pass to a thread of
    // another process meanwhile; a thread that has ended already is passed over.
    win32::OwnedHandle thread(
        OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID));
    if (!thread || GetProcessIdOfThread(thread.get()) != process) continue;
    ExclusiveLock one_at_a_time(guard);
    follow(entry.th32ThreadID);
  }
  return true;
}

void thread_started() {
  ExclusiveLock one_at_a_time(guard);
  if (!following) return;
  // A thread id seen before belonged to a thread that has ended: its hook is gone with it.
  stop_following(GetCurrentThreadId());
  follow(GetCurrentThreadId());
}

void thread_ending() {
  ExclusiveLock one_at_a_time(guard);
  stop_following(GetCurrentThreadId());
}
