#ifndef MOYAN_NET_SHARED_CALL_H_
#define MOYAN_NET_SHARED_CALL_H_

// What the calling thread and the system's own threads share during one asynchronous web
// call (WinInet's or WinHttp's). The calling thread waits for each operation with a bound
// and may give up; the system may then still be writing into the call's buffers until
// the request handle has finished closing. So the state lives on the heap, held by the
// caller and by the request handle, and goes when both have let go: the handle lets go
// with its last notice, "handle closing".

#include <windows.h>

#include <atomic>
#include <string>

#include "win32/owned_handle.h"

// `Buffers` holds what the operations in progress read and write.
template <typename Buffers>
class SharedCall : public Buffers {
 public:
  // Held once by the caller; nothing when no event could be made.
  static SharedCall* create() {
    auto* call = new SharedCall();
    if (call->completed() != nullptr) return call;
    call->release();
    return nullptr;
  }
  SharedCall(const SharedCall&) = delete;
  SharedCall& operator=(const SharedCall&) = delete;

  void add_ref() { refs_.fetch_add(1, std::memory_order_relaxed); }
  void release() {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  // Signalled as each operation ends.
  HANDLE completed() const { return completed_.get(); }
  DWORD error() const { return error_.load(std::memory_order_acquire); }
  void complete(DWORD error) {
    error_.store(error, std::memory_order_release);
    SetEvent(completed_.get());
  }

  // Calls whose state is still held (by a caller, or by a handle that has not closed).
  static int in_flight() { return alive_.load(std::memory_order_relaxed); }

 private:
  SharedCall() : completed_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    alive_.fetch_add(1, std::memory_order_relaxed);
  }
  ~SharedCall() { alive_.fetch_sub(1, std::memory_order_relaxed); }

  static inline std::atomic<int> alive_{0};
  std::atomic<int> refs_{1};
  win32::OwnedHandle completed_;
  std::atomic<DWORD> error_{ERROR_SUCCESS};
};

// The caller's hold on its SharedCall.
template <typename Call>
class CallRef {
 public:
  explicit CallRef(Call* call) : call_(call) {}
  CallRef(const CallRef&) = delete;
  CallRef& operator=(const CallRef&) = delete;
  ~CallRef() {
    if (call_ != nullptr) call_->release();
  }
  explicit operator bool() const { return call_ != nullptr; }
  Call* get() const { return call_; }
  Call* operator->() const { return call_; }

 private:
  Call* call_;
};

#endif  // MOYAN_NET_SHARED_CALL_H_
