#include "win32/automation.h"

#include <climits>
#include <vector>

namespace win32 {

Bstr make_bstr(std::wstring_view text) {
  if (text.size() > UINT_MAX / 2) return Bstr();
  return Bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

VARIANT string_argument(const Bstr& text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text.get();
  return value;
}

VARIANT bool_argument(bool value) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_BOOL;
  variant.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return variant;
}

VARIANT long_argument(long value) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_I4;
  variant.lVal = value;
  return variant;
}

HRESULT invoke_member(IDispatch* object, const wchar_t* name, WORD kind,
                      std::initializer_list<VARIANT> arguments, VARIANT* result) {
  if (object == nullptr) return E_POINTER;
  DISPID member = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
  if (FAILED(hr)) return hr;
  // IDispatch takes its arguments last first.
  std::vector<VARIANT> reversed(arguments.begin(), arguments.end());
  std::vector<VARIANT>(reversed.rbegin(), reversed.rend()).swap(reversed);
  DISPPARAMS parameters{};
  parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
  parameters.cArgs = static_cast<UINT>(reversed.size());
  EXCEPINFO exception{};
  UINT argument_error = 0;
  hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, &exception,
                      &argument_error);
  // An exception's texts are ours to free; nobody reads them.
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

}  // namespace win32
