#include "net/fetch_binary.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>

#include "net/net_limits.h"
#include "win32/automation.h"
#include "win32/code_page.h"
#include "win32/com_apartment.h"
#include "win32/owned_handle.h"

namespace {

constexpr wchar_t kRequestProgId[] = L"WinHttp.WinHttpRequest.5.1";
constexpr char kDownloadUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";
// The request object's wait takes whole seconds. One second per wait lets the declared
// length be looked at soon after the headers came, yet costs nothing when the answer
// comes at once: the wait ends as soon as the response is complete.
constexpr long kWaitSliceSeconds = 1;

// Each call closes its COM, and COM then unloads the request object's library (no
// apartment holds an object of it any more); loading it again with its type library costs
// several times the request itself. So the library is loaded once, at the first call, and
// kept for the life of the process.
void keep_request_library_loaded() {
  static const HMODULE library = LoadLibraryW(L"winhttp.dll");
  (void)library;
}

// The class registered under the ProgID, looked up at the first call and kept, as the
// program keeps what it looks up by name; nothing when no class is registered under it.
const CLSID* request_class() {
  static const std::optional<CLSID> clsid = []() -> std::optional<CLSID> {
    CLSID found;
    if (FAILED(CLSIDFromProgID(kRequestProgId, &found))) return std::nullopt;
    return found;
  }();
  return clsid ? &*clsid : nullptr;
}

win32::ComRef<IDispatch> create_request_object() {
  const CLSID* clsid = request_class();
  if (clsid == nullptr) return {};
  IDispatch* object = nullptr;
  if (FAILED(CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&object)))) {
    return {};
  }
  return win32::ComRef<IDispatch>(object);
}

HRESULT call_method(IDispatch* object, const wchar_t* name,
                    std::initializer_list<VARIANT> arguments, VARIANT* result = nullptr) {
  return win32::invoke_member(object, name, DISPATCH_METHOD, arguments, result);
}

// The bytes of a one-dimensional byte array; nothing when it is larger than `bound`.
ByteSet bytes_of_array(SAFEARRAY* array, size_t bound) {
  if (array == nullptr || SafeArrayGetDim(array) != 1) return {};
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
      FAILED(SafeArrayGetUBound(array, 1, &upper))) {
    return {};
  }
  if (upper < lower) return {};
  const size_t count = static_cast<size_t>(static_cast<long long>(upper) - lower + 1);
  if (count > bound) return {};
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) return {};
  ByteSet bytes(data, count);
  SafeArrayUnaccessData(array);
  return bytes;
}

// The response body as bytes: a byte array as it is, anything else through the system's
// conversion to one; nothing when that fails or the body is larger than `bound`.
ByteSet bytes_of_body(win32::Variant& body, size_t bound) {
  if ((*body).vt == (VT_ARRAY | VT_UI1)) return bytes_of_array((*body).parray, bound);
  win32::Variant converted;
  if (FAILED(VariantChangeType(converted.get(), body.get(), 0, VT_ARRAY | VT_UI1))) return {};
  return bytes_of_array((*converted).parray, bound);
}

// Whether the declared length of the answer, once its headers are in, is past `bound`.
// Nothing is known (false) before the headers have come or without the header.
bool declares_too_much(IDispatch* request, size_t bound) {
  win32::Bstr name = win32::make_bstr(L"Content-Length");
  win32::Variant value;
  if (FAILED(call_method(request, L"GetResponseHeader", {win32::string_argument(name)},
                         value.get())) ||
      (*value).vt != VT_BSTR) {
    return false;
  }
  // The text ends at its first zero: the object may count the terminating zero in the
  // string's length.
  const BSTR bstr = (*value).bstrVal;
  std::string text;
  for (const wchar_t c : std::wstring_view(bstr, wcsnlen(bstr, SysStringLen(bstr)))) {
    if (c >= 0x80) return false;
    text += static_cast<char>(c);
  }
  const std::optional<uint64_t> length = declared_length(text);
  return length && *length > bound;
}

enum class Outcome { kComplete, kFailed, kGivenUp };

// Waits for the asynchronous request to end, at most until `deadline` (GetTickCount64).
// Gives up early when the answer declares a body larger than the bound.
Outcome wait_for_response(IDispatch* request, ULONGLONG deadline, size_t bound) {
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return Outcome::kGivenUp;
    const ULONGLONG left_seconds = (deadline - now + 999) / 1000;
    const long slice = static_cast<long>(std::min<ULONGLONG>(left_seconds, kWaitSliceSeconds));
    win32::Variant done;
    const HRESULT hr =
        call_method(request, L"WaitForResponse", {win32::long_argument(slice)}, done.get());
    if (FAILED(hr)) return Outcome::kFailed;  // the request itself failed
    const bool ran_out = (*done).vt == VT_BOOL && (*done).boolVal == VARIANT_FALSE;
    // A wait asked of a request that has already ended may answer "not yet" at once (Wine
    // leaves the answer unset then): only a wait that took its whole time ran out.
    const ULONGLONG spent = GetTickCount64() - now;
    if (!ran_out || spent < static_cast<ULONGLONG>(slice) * 1000 / 2) return Outcome::kComplete;
    if (declares_too_much(request, bound)) return Outcome::kGivenUp;
  }
}

// Downloads through `request`. Sets `aborted` when the request was given up at a bound.
ByteSet download(IDispatch* request, std::string_view url, const NetLimits& limits, bool& aborted) {
  const ULONGLONG deadline = GetTickCount64() + limits.download_call_ms;
  win32::Bstr verb = win32::make_bstr(L"GET");
  win32::Bstr address = win32::make_bstr(win32::widen(url));
  win32::Bstr header = win32::make_bstr(L"User-Agent");
  win32::Bstr agent = win32::make_bstr(win32::widen(kDownloadUserAgent));
  if (!verb || !address || !header || !agent) return {};

  // Opened asynchronously: a synchronous send can wait for ever on a server that never
  // answers (time-outs or not), while an asynchronous one can be waited for with a bound
  // and aborted.
  if (FAILED(call_method(request, L"Open",
                         {win32::string_argument(verb), win32::string_argument(address),
                          win32::bool_argument(true)}))) {
    return {};
  }
  if (FAILED(call_method(request, L"SetRequestHeader",
                         {win32::string_argument(header), win32::string_argument(agent)}))) {
    return {};
  }
  if (FAILED(call_method(request, L"Send", {}))) return {};

  switch (wait_for_response(request, deadline, limits.download_bytes)) {
    case Outcome::kComplete:
      break;
    case Outcome::kFailed:
      return {};
    case Outcome::kGivenUp:
      call_method(request, L"Abort", {});
      aborted = true;
      return {};
  }
  win32::Variant body;
  if (FAILED(
          win32::invoke_member(request, L"ResponseBody", DISPATCH_PROPERTYGET, {}, body.get()))) {
    return {};
  }
  return bytes_of_body(body, limits.download_bytes);
}

}  // namespace

ByteSet fetch_binary(std::string_view url) {
  const NetLimits limits = net_limits();
  // COM for this call only, closed after the object is gone; a thread that had COM already
  // keeps it.
  win32::ComApartment com;
  keep_request_library_loaded();
  win32::ComRef<IDispatch> request = create_request_object();
  if (!request) return {};
  bool aborted = false;
  ByteSet body = download(request.get(), url, limits, aborted);
  // An aborted request object is kept, never released: the system's request may still
  // complete a read it had started and then write into the object (Wine's does), which
  // must not land in freed memory. What is kept is the object's own small state, once
  // per call given up at a bound.
  if (aborted) request.release();
  return body;
}
