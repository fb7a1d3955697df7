#include "win32/message_pump.h"

#include <gtest/gtest.h>

#include <thread>

#include "win32/owned_handle.h"
#include "win32/window_class.h"

namespace {

constexpr UINT kSignalMessage = WM_APP + 7;

// A message window whose one message sets the event named by its wParam.
LRESULT CALLBACK signalling_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kSignalMessage) {
    SetEvent(reinterpret_cast<HANDLE>(wparam));
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

HWND signalling_window() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  win32::register_window_class(instance, L"MoyanPumpTest", signalling_procedure);
  return CreateWindowExW(0, L"MoyanPumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                         nullptr);
}

win32::OwnedHandle new_event() {
  return win32::OwnedHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

TEST(WaitRunningMessages, EndsWhenTheObjectIsSignalled) {
  win32::OwnedHandle event = new_event();
  std::thread signaller([&] {
    Sleep(50);
    SetEvent(event.get());
  });
  EXPECT_EQ(win32::wait_running_messages(event.get(), 10000), WAIT_OBJECT_0);
  signaller.join();
}

TEST(WaitRunningMessages, EndsWhenItsTimeRunsOut) {
  win32::OwnedHandle event = new_event();
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(win32::wait_running_messages(event.get(), 150), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(GetTickCount64() - start, 140u) << "the wait ended before its time";
  EXPECT_EQ(win32::wait_running_messages(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(WaitRunningMessages, MessagesRunWhileItWaits) {
  win32::OwnedHandle event = new_event();
  HWND window = signalling_window();
  ASSERT_NE(window, nullptr);
  // Only the message, dispatched during the wait, can set the event.
  PostMessageW(window, kSignalMessage, reinterpret_cast<WPARAM>(event.get()), 0);
  EXPECT_EQ(win32::wait_running_messages(event.get(), 10000), WAIT_OBJECT_0);
  // One that arrives while the wait is under way, too.
  ResetEvent(event.get());
  std::thread poster([&] {
    Sleep(50);
    PostMessageW(window, kSignalMessage, reinterpret_cast<WPARAM>(event.get()), 0);
  });
  EXPECT_EQ(win32::wait_running_messages(event.get(), 10000), WAIT_OBJECT_0);
  poster.join();
  DestroyWindow(window);
}

TEST(WaitRunningMessages, ARequestToQuitEndsTheWaitAndStaysForTheLoop) {
  win32::OwnedHandle event = new_event();
  PostQuitMessage(3);
  EXPECT_EQ(win32::wait_running_messages(event.get(), 10000), WAIT_FAILED);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "the thread's own loop must still see the request to quit";
  EXPECT_EQ(msg.wParam, 3u);
}

TEST(RunPendingMessages, DispatchesWhatWaitsAndKeepsARequestToQuit) {
  win32::OwnedHandle event = new_event();
  HWND window = signalling_window();
  PostMessageW(window, kSignalMessage, reinterpret_cast<WPARAM>(event.get()), 0);
  PostQuitMessage(4);
  win32::run_pending_messages();
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0) << "the message was not run";
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 4u);
  DestroyWindow(window);
}

}  // namespace
