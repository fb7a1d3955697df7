#include "win32/automation.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/com_apartment.h"
#include "win32/internet_handle.h"

namespace {

TEST(Bstr, KeepsLengthAndZeroCharacters) {
  win32::Bstr text = win32::make_bstr(std::wstring(L"a\0b", 3));
  ASSERT_TRUE(text);
  EXPECT_EQ(SysStringLen(text.get()), 3u);
  EXPECT_EQ(text.get()[2], L'b');
  win32::Bstr empty = win32::make_bstr(L"");
  ASSERT_TRUE(empty) << "an empty string is a string, not a missing one";
  EXPECT_EQ(SysStringLen(empty.get()), 0u);
}

// An automation object that every system has: a dictionary driven by member name.
class InvokeMember : public ::testing::Test {
 protected:
  void SetUp() override {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(L"Scripting.Dictionary", &clsid), S_OK);
    IDispatch* object = nullptr;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    dictionary_.reset(object);
  }

  win32::ComApartment com_;
  win32::ComRef<IDispatch> dictionary_;
};

TEST_F(InvokeMember, PassesArgumentsInTheirWrittenOrder) {
  win32::Bstr key = win32::make_bstr(L"key");
  win32::Bstr value = win32::make_bstr(L"\u503C");  // 值
  ASSERT_EQ(
      win32::invoke_member(dictionary_.get(), L"Add", DISPATCH_METHOD,
                           {win32::string_argument(key), win32::string_argument(value)}, nullptr),
      S_OK);
  win32::Variant item;
  ASSERT_EQ(win32::invoke_member(dictionary_.get(), L"Item", DISPATCH_PROPERTYGET,
                                 {win32::string_argument(key)}, item.get()),
            S_OK);
  ASSERT_EQ((*item).vt, VT_BSTR) << "the value comes back under its key";
  EXPECT_STREQ((*item).bstrVal, L"\u503C");
  win32::Variant count;
  ASSERT_EQ(
      win32::invoke_member(dictionary_.get(), L"Count", DISPATCH_PROPERTYGET, {}, count.get()),
      S_OK);
  EXPECT_EQ((*count).vt, VT_I4);
  EXPECT_EQ((*count).lVal, 1);
}

TEST_F(InvokeMember, AnUnknownMemberFailsByName) {
  EXPECT_EQ(win32::invoke_member(dictionary_.get(), L"NoSuchMember", DISPATCH_METHOD, {}, nullptr),
            DISP_E_UNKNOWNNAME);
  EXPECT_EQ(win32::invoke_member(nullptr, L"Add", DISPATCH_METHOD, {}, nullptr), E_POINTER);
}

TEST(InternetHandle, ClosesWhenItGoes) {
  HINTERNET raw = InternetOpenW(L"moyan-test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  ASSERT_NE(raw, nullptr);
  { win32::InternetHandle owner(raw); }
  EXPECT_FALSE(InternetCloseHandle(raw)) << "the handle should have been closed with its owner";
}

}  // namespace
