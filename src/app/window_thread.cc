#include "app/window_thread.h"

#include <memory>
#include <utility>

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

bool WindowThread::post(HWND window, std::function<void()> task) {
  auto posted = std::make_unique<std::function<void()>>(std::move(task));
  if (!PostMessageW(window, kMsgRunPostedTask, 0, reinterpret_cast<LPARAM>(posted.get()))) {
    return false;
  }
  // The message owns it now: the window's thread frees it (run_posted_task, or
  // drop_posted_tasks as the window goes).
  posted.release();
  return true;  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks): owned by the message
}

void WindowThread::run_posted_task(LPARAM lparam) {
  std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lparam));
  if (task && *task) (*task)();
}

void WindowThread::drop_posted_tasks(HWND window) {
  MSG msg;
  while (PeekMessageW(&msg, window, kMsgRunPostedTask, kMsgRunPostedTask, PM_REMOVE)) {
    delete reinterpret_cast<std::function<void()>*>(msg.lParam);
  }
}
