#include "win32/owned_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Whether a kernel handle is still open in this process.
bool is_open(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != 0;
}

TEST(OwnedHandle, ClosesOnceWhenItGoes) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  {
    win32::OwnedHandle owner(raw);
    EXPECT_TRUE(owner);
    EXPECT_TRUE(is_open(raw));
  }
  EXPECT_FALSE(is_open(raw)) << "the event should be closed with its owner";
}

TEST(OwnedHandle, MoveHandsOverOwnership) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  win32::OwnedHandle first(raw);
  win32::OwnedHandle second(std::move(first));
  EXPECT_FALSE(first) << "the moved-from owner holds nothing";  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(second.get(), raw);
  win32::OwnedHandle third;
  third = std::move(second);
  EXPECT_EQ(third.get(), raw);
  EXPECT_TRUE(is_open(raw)) << "a move must not close";
  third.reset();
  EXPECT_FALSE(is_open(raw));
}

TEST(OwnedHandle, ReleaseGivesUpWithoutClosing) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    win32::OwnedHandle owner(raw);
    EXPECT_EQ(owner.release(), raw);
  }
  EXPECT_TRUE(is_open(raw)) << "a released handle stays open";
  CloseHandle(raw);
}

TEST(OwnedHandle, InvalidValuesAreNotOwned) {
  win32::OwnedHandle failed_open(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(failed_open) << "CreateFile's failure value is no handle";
  win32::FindHandle no_walk;
  EXPECT_FALSE(no_walk);
  EXPECT_EQ(no_walk.get(), INVALID_HANDLE_VALUE);
}

TEST(OwnedHandle, GdiObjectsAndMenusAreReleased) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  { win32::Brush owner(brush); }
  EXPECT_EQ(GetObjectType(brush), 0u) << "the brush should be deleted";

  HMENU menu = CreatePopupMenu();
  { win32::OwnedMenu owner(menu); }
  EXPECT_FALSE(IsMenu(menu)) << "the menu should be destroyed";
}

}  // namespace
