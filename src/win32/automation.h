#ifndef MOYAN_WIN32_AUTOMATION_H_
#define MOYAN_WIN32_AUTOMATION_H_

#include <windows.h>

#include <oleauto.h>

#include <initializer_list>
#include <string_view>

#include "win32/owned_handle.h"

// Automation objects driven through IDispatch by member name, with owners for the strings
// and values that cross into them.
namespace win32 {

struct BstrTraits {
  using Handle = BSTR;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { SysFreeString(h); }
};
using Bstr = Owned<BstrTraits>;

// An automation string of `text`; empty (null) when there is no memory for it.
Bstr make_bstr(std::wstring_view text);

// A VARIANT cleared when it goes.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }

  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }
  void clear() { VariantClear(&value_); }

 private:
  VARIANT value_;
};

// Argument values that the caller keeps alive for the call (a VT_BSTR borrows its string).
VARIANT string_argument(const Bstr& text);
VARIANT bool_argument(bool value);
VARIANT long_argument(long value);

// Calls the member `name` of `object`: a method (DISPATCH_METHOD) or a property read
// (DISPATCH_PROPERTYGET), with `arguments` in their written order. `result` (may be null)
// receives the returned value. The member is looked up by name at each call.
HRESULT invoke_member(IDispatch* object, const wchar_t* name, WORD kind,
                      std::initializer_list<VARIANT> arguments, VARIANT* result);

}  // namespace win32

#endif  // MOYAN_WIN32_AUTOMATION_H_
