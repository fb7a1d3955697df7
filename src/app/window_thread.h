#ifndef MOYAN_APP_WINDOW_THREAD_H_
#define MOYAN_APP_WINDOW_THREAD_H_

#include <windows.h>

#include <atomic>
#include <functional>

// Carries calls from workers to the window's thread. Workers may touch the window only
// through it: the window's thread runs the task while the worker waits, so the window's
// thread itself must never wait for a worker.
class WindowThread {
 public:
  // The window whose thread runs the tasks; called on that thread.
  void attach(HWND window);
  // The window is going: later tasks do nothing.
  void detach() { target_ = nullptr; }

  // Runs a task on the window's thread: at once there, else by a sent message while the
  // calling thread waits. Does nothing once the window is gone.
  void run(const std::function<void()>& task) const;
  // The window procedure's part: runs the task a worker sent.
  static void run_sent_task(LPARAM lparam);

  // Leaves a task for `window`'s thread to run when it next takes its messages, without
  // waiting for it: for a worker whose result the window shows when it comes. Takes the
  // window's handle, not a WindowThread, since the window may go meanwhile; false (and the
  // task dropped) when it has gone already.
  static bool post(HWND window, std::function<void()> task);
  // The window procedure's part: runs a posted task and frees it.
  static void run_posted_task(LPARAM lparam);
  // Frees the tasks still waiting for `window`; called as it goes, since the system drops
  // the messages of a destroyed window.
  static void drop_posted_tasks(HWND window);

  bool on_window_thread() const { return GetCurrentThreadId() == thread_id_; }

 private:
  // Read on workers' threads, so atomic; null once the window is gone.
  std::atomic<HWND> target_{nullptr};
  DWORD thread_id_ = 0;
};

#endif  // MOYAN_APP_WINDOW_THREAD_H_
