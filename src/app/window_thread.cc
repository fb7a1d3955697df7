#include "app/window_thread.h"

#include "app/window_messages.h"

void WindowThread::attach(HWND window) {
  thread_id_ = GetCurrentThreadId();
  target_ = window;
}

void WindowThread::run(const std::function<void()>& task) const {
  if (on_window_thread()) {
    task();
  } else if (HWND hwnd = target_.load()) {
    auto* pointer = const_cast<std::function<void()>*>(&task);
    SendMessageW(hwnd, kMsgRunTask, 0, reinterpret_cast<LPARAM>(pointer));
  }
}

void WindowThread::run_sent_task(LPARAM lparam) {
  if (auto* task = reinterpret_cast<std::function<void()>*>(lparam)) (*task)();
}
