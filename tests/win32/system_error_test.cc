#include "win32/system_error.h"

#include <gtest/gtest.h>

#include <string>

#include "win32/com_apartment.h"

namespace {

TEST(SystemError, GivesTheSystemsSentenceWithoutLineBreak) {
  std::string text = win32::system_error_text(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '\r');
  EXPECT_EQ(text.rfind("error ", 0), std::string::npos) << "the system has a text: " << text;
}

TEST(SystemError, UnknownCodeIsNamedByNumber) {
  EXPECT_EQ(win32::system_error_text(0x2FFFFFFF), "error 805306367");
}

TEST(SystemError, LastErrorIsRead) {
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(win32::last_error_text(), win32::system_error_text(ERROR_ACCESS_DENIED));
}

TEST(ComApartment, NestsOnOneThread) {
  win32::ComApartment outer;
  EXPECT_TRUE(outer.ok());
  {
    win32::ComApartment inner;
    EXPECT_TRUE(inner.ok()) << "a second set-up on the same thread counts a reference";
  }
}

}  // namespace
