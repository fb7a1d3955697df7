#include "net/fetch_binary.h"

#include <windows.h>

#include <winhttp.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "net/download_body.h"
#include "net/net_limits.h"
#include "net/shared_call.h"
#include "net/web_address.h"
#include "win32/code_page.h"
#include "win32/winhttp_handle.h"

namespace {

constexpr wchar_t kDownloadUserAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";
// Bytes taken by each read at most: few calls for a package, little memory for a page.
constexpr DWORD kReadChunk = 64 * 1024;
// A Location longer than this is no address worth following.
constexpr DWORD kLocationChars = 2048;

// The buffers of a download's operation in progress; WinHttp writes into them.
struct DownloadBuffers {
  char buffer[kReadChunk];
  std::atomic<DWORD> bytes_available{0};
  std::atomic<DWORD> bytes_read{0};
};
using DownloadCall = SharedCall<DownloadBuffers>;

// WinHttp's notices for a request handle, whose context is its DownloadCall.
void CALLBACK on_status(HINTERNET /*handle*/, DWORD_PTR context, DWORD status, void* information,
                        DWORD length) {
  if (context == 0) return;
  auto* call = reinterpret_cast<DownloadCall*>(context);
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      call->complete(ERROR_SUCCESS);
      break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
      call->bytes_available.store(*static_cast<const DWORD*>(information),
                                  std::memory_order_relaxed);
      call->complete(ERROR_SUCCESS);
      break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      call->bytes_read.store(length, std::memory_order_relaxed);
      call->complete(ERROR_SUCCESS);
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR: {
      const auto* result = static_cast<const WINHTTP_ASYNC_RESULT*>(information);
      const DWORD error = result != nullptr ? result->dwError : ERROR_WINHTTP_INTERNAL_ERROR;
      call->complete(error != ERROR_SUCCESS ? error : ERROR_WINHTTP_INTERNAL_ERROR);
      break;
    }
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
      call->release();  // the request handle's hold
      break;
    default:
      break;
  }
}

class Deadline {
 public:
  explicit Deadline(uint32_t milliseconds) : end_(GetTickCount64() + milliseconds) {}
  DWORD left() const {
    const ULONGLONG now = GetTickCount64();
    return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
  }

 private:
  ULONGLONG end_;
};

// The handles of one request. They close request first: a parent closed first would free
// its children's handle values while they are still to be closed, and another thread's
// new handle may take such a value in between.
struct RequestHandles {
  win32::WinHttpHandle session;
  win32::WinHttpHandle connection;
  win32::WinHttpHandle request;
};

// Starts one asynchronous operation and waits for it within the deadline. True when it
// succeeded in time.
bool run_operation(DownloadCall* call, const Deadline& deadline,
                   const std::function<BOOL()>& start) {
  if (!start()) return false;
  if (WaitForSingleObject(call->completed(), deadline.left()) != WAIT_OBJECT_0) return false;
  return call->error() == ERROR_SUCCESS;
}

// A header of the answer as text (ASCII, or GBK as the system converts it); nothing when
// the answer has none or it is longer than `most` characters.
std::optional<std::string> header_text(HINTERNET request, DWORD info_level, DWORD most) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, info_level, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                      &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0 ||
      size / sizeof(wchar_t) > most + 1) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, info_level, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  value.resize(size / sizeof(wchar_t));
  return win32::narrow(value);
}

int status_of(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return static_cast<int>(status);
}

// Opens the handles for a GET of `url` and sends it; the call's state is the request's
// context. False when the address can't be taken or a handle can't be had.
bool open_request(const std::string& url, DownloadCall* call, const Deadline& deadline,
                  RequestHandles& handles) {
  const std::wstring wide_url = win32::widen(url);
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide_url.c_str(), static_cast<DWORD>(wide_url.size()), 0, &parts)) {
    return false;
  }
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  // Path and query are one object name, as the server is asked for them.
  std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength);
  object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (host.empty()) return false;

  // Asynchronous, so every wait is the caller's and can end at a bound; the system's own
  // waits end with the call's time too, so nothing is left waiting long after a call gave
  // up. The system's proxy settings apply, as to every WinHttp request.
  handles.session.reset(WinHttpOpen(kDownloadUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                    WINHTTP_FLAG_ASYNC));
  if (!handles.session) return false;
  const int wait = static_cast<int>(std::max<DWORD>(deadline.left(), 1));
  WinHttpSetTimeouts(handles.session.get(), wait, wait, wait, wait);
  handles.connection.reset(WinHttpConnect(handles.session.get(), host.c_str(), parts.nPort, 0));
  if (!handles.connection) return false;
  const wchar_t* accept_types[] = {L"*/*", nullptr};
  handles.request.reset(WinHttpOpenRequest(
      handles.connection.get(), L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER, accept_types,
      parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!handles.request) return false;
  HINTERNET request = handles.request.get();

  // Redirects are the call's own to follow, counted (the system would follow a server that
  // redirects to itself without end).
  DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
  if (!WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects,
                        sizeof(no_redirects))) {
    return false;
  }
  if (WinHttpSetStatusCallback(
          request, on_status,
          WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING,
          0) == WINHTTP_INVALID_STATUS_CALLBACK) {
    return false;
  }
  DWORD_PTR context = reinterpret_cast<DWORD_PTR>(call);
  call->add_ref();  // the request handle's hold, given back with its last notice
  if (!WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context))) {
    call->release();
    return false;
  }
  return run_operation(call, deadline,
                       [&] {
                         return WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                                   WINHTTP_NO_REQUEST_DATA, 0, 0, context);
                       }) &&
         run_operation(call, deadline, [&] { return WinHttpReceiveResponse(request, nullptr); });
}

// Reads the body of the answer on `request` within the deadline and the bound. Nothing
// when either is passed or a read fails.
std::optional<ByteSet> read_body(HINTERNET request, DownloadCall* call, const Deadline& deadline,
                                 size_t bound) {
  DownloadBody body(bound);
  const std::optional<std::string> length = header_text(request, WINHTTP_QUERY_CONTENT_LENGTH, 64);
  const std::optional<uint64_t> declared = length ? declared_length(*length) : std::nullopt;
  if (!body.expect(declared)) return std::nullopt;
  for (;;) {
    // Only what has come is read: a read that waited for more could outlast the call by as
    // long as a trickling server likes, even after the call has given it up.
    call->bytes_available.store(0, std::memory_order_relaxed);
    if (!run_operation(call, deadline,
                       [&] { return WinHttpQueryDataAvailable(request, nullptr); })) {
      return std::nullopt;
    }
    const DWORD available = call->bytes_available.load(std::memory_order_relaxed);
    if (available == 0) return body.take();
    call->bytes_read.store(0, std::memory_order_relaxed);
    if (!run_operation(call, deadline, [&] {
          return WinHttpReadData(request, call->buffer, std::min(available, kReadChunk), nullptr);
        })) {
      return std::nullopt;
    }
    const DWORD read = call->bytes_read.load(std::memory_order_relaxed);
    if (read == 0) return body.take();
    if (!body.add(call->buffer, read)) return std::nullopt;
    // A body of the declared length is whole: the system would only say so in one more
    // round trip to its own thread.
    if (declared && body.size() == *declared) return body.take();
  }
}

}  // namespace

WebAnswer fetch_answer(std::string_view url) {
  const NetLimits limits = net_limits();
  const Deadline deadline(limits.download_call_ms);
  std::string address(url);
  for (int redirects = 0;; ++redirects) {
    CallRef<DownloadCall> call(DownloadCall::create());
    if (!call) return {};
    RequestHandles handles;
    if (!open_request(address, call.get(), deadline, handles)) return {};
    HINTERNET request = handles.request.get();
    const int status = status_of(request);
    if (is_redirect_status(status)) {
      const std::optional<std::string> location =
          header_text(request, WINHTTP_QUERY_LOCATION, kLocationChars);
      // Without a Location the answer is the page itself.
      if (location) {
        if (redirects == limits.redirects) return {};
        const std::optional<std::string> next = resolve_address(address, *location);
        if (!next) return {};
        address = *next;
        continue;
      }
    }
    std::optional<ByteSet> body = read_body(request, call.get(), deadline, limits.download_bytes);
    if (!body) return {};
    return {status, std::move(*body)};
  }
}

ByteSet fetch_binary(std::string_view url) {
  return fetch_answer(url).body;
}

int downloads_in_flight() {
  return DownloadCall::in_flight();
}
