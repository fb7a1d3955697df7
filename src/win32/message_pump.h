#ifndef MOYAN_WIN32_MESSAGE_PUMP_H_
#define MOYAN_WIN32_MESSAGE_PUMP_H_

#include <windows.h>

// Letting the calling thread's window messages run while it works or waits, so a window
// of that thread keeps painting and answering. A request to quit is left for the
// thread's own message loop.
namespace win32 {

// Dispatches the messages that are waiting now.
void run_pending_messages();

// Waits for `object` to be signalled, at most `milliseconds`, dispatching messages as they
// arrive. WAIT_OBJECT_0 when signalled, WAIT_TIMEOUT when the time ran out, WAIT_FAILED on
// an error, or when a request to quit arrived (the wait then ends early).
DWORD wait_running_messages(HANDLE object, DWORD milliseconds);

}  // namespace win32

#endif  // MOYAN_WIN32_MESSAGE_PUMP_H_
