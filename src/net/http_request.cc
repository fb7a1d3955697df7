#include "net/http_request.h"

#include <windows.h>

#include <wininet.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <string>

#include "net/http_headers.h"
#include "net/net_limits.h"
#include "net/page_body.h"
#include "net/shared_call.h"
#include "net/url.h"
#include "net/web_address.h"
#include "win32/code_page.h"
#include "win32/internet_handle.h"
#include "win32/message_pump.h"
#include "win32/owned_handle.h"

namespace {

// The connect, receive and send time-outs set on the request handle.
constexpr DWORD kTimeoutMs = 18000;
// Bytes asked for by each read.
constexpr DWORD kReadChunk = 512;
// A Location longer than this is no address worth following.
constexpr DWORD kLocationChars = 2048;

// The buffers of a page request's operation in progress; WinInet keeps pointers into them.
struct PageBuffers {
  std::wstring headers;
  std::string body;
  char buffer[kReadChunk];
  DWORD bytes_read = 0;
};
using PageCall = SharedCall<PageBuffers>;

// WinInet's notices for the request handle, whose context is its SharedCall. The root and
// connection handles carry context 0 and get no notices.
void CALLBACK on_status(HINTERNET /*handle*/, DWORD_PTR context, DWORD status, void* information,
                        DWORD /*length*/) {
  if (context == 0) return;
  auto* call = reinterpret_cast<PageCall*>(context);
  switch (status) {
    case INTERNET_STATUS_REQUEST_COMPLETE: {
      const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(information);
      call->complete(result == nullptr || result->dwResult != 0 ? ERROR_SUCCESS : result->dwError);
      break;
    }
    case INTERNET_STATUS_HANDLE_CLOSING:
      call->release();  // the request handle's hold
      break;
    default:
      break;
  }
}

class CallClock {
 public:
  explicit CallClock(const NetLimits& limits) : limits_(limits) {}
  DWORD next_wait() const { return next_page_wait(GetTickCount64() - start_, limits_); }
  bool time_is_up() const { return next_wait() == 0; }

 private:
  const NetLimits& limits_;
  ULONGLONG start_ = GetTickCount64();
};

// Runs one WinInet operation and, when it goes on in the background, waits for it within
// the call's bounds while the thread's messages run. True when it succeeded in time.
bool run_operation(PageCall* call, const CallClock& clock, const std::function<BOOL()>& start) {
  if (start()) return true;
  if (GetLastError() != ERROR_IO_PENDING) return false;
  if (win32::wait_running_messages(call->completed(), clock.next_wait()) != WAIT_OBJECT_0) {
    return false;
  }
  return call->error() == ERROR_SUCCESS;
}

HINTERNET open_root(const std::optional<std::string_view>& proxy) {
  const std::wstring agent = win32::widen(kPageUserAgent);
  // Asynchronous, so every wait is the caller's and can end at a bound.
  if (!proxy) {
    return InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, L"", L"", INTERNET_FLAG_ASYNC);
  }
  std::string list = kProxyListPrefix;
  list += *proxy;
  return InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, win32::widen(list).c_str(), L"",
                       INTERNET_FLAG_ASYNC);
}

// The three handles of a call. They close in the reverse order of opening, request first:
// closing a parent first would free its children's handle values while the call still
// means to close them, and another thread's new handle may take such a value in between.
struct CallHandles {
  win32::InternetHandle root;
  win32::InternetHandle connection;
  win32::InternetHandle request;
};

DWORD WINAPI close_handles(void* handles) {
  delete static_cast<CallHandles*>(handles);
  return 0;
}

// Closes the handles of a request whose answer was not read to its end. WinInet reads what
// is left of an announced body when its request handle closes, to keep the connection
// for later use, for as long as the server keeps sending; that is no wait for the caller.
void close_in_background(CallHandles handles) {
  auto* moved = new CallHandles(std::move(handles));
  if (!QueueUserWorkItem(close_handles, moved, WT_EXECUTELONGFUNCTION)) close_handles(moved);
}

// The raw response header block, or 1024 blanks when it can't be had or does not fit.
std::string query_response_headers(HINTERNET request) {
  // A block that fits 1024 GBK bytes has fewer than 1024 UTF-16 units.
  wchar_t block[kResponseHeaderBuffer] = {};
  DWORD size = sizeof(block);
  if (!HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, block, &size, nullptr)) {
    return std::string(kResponseHeaderBuffer, ' ');
  }
  return fit_response_headers(
      win32::narrow(std::wstring_view(block, wcsnlen(block, kResponseHeaderBuffer))));
}

// The address a redirect from `url` starts from: the page request takes addresses without
// the scheme too, which a Location is read against as plain HTTP.
std::string absolute_address(std::string_view url) {
  return "http://" + host_of_url(url) + ":" + std::to_string(port_of_url(url)) + path_of_url(url);
}

// Where the answer on `request` sends the call, if it is a redirect with a Location; the
// verb and body it is followed with are settled by the caller.
struct Redirect {
  int status = 0;
  std::optional<std::string> location;
};
Redirect redirect_of(HINTERNET request) {
  Redirect redirect;
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr) ||
      !is_redirect_status(static_cast<int>(status))) {
    return redirect;
  }
  redirect.status = static_cast<int>(status);
  wchar_t location[kLocationChars] = {};
  size = sizeof(location);
  if (HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location, &size, nullptr)) {
    redirect.location =
        win32::narrow(std::wstring_view(location, wcsnlen(location, kLocationChars)));
  }
  return redirect;
}

// Opens the handles of one request for `plan` at `address` and sends it within the call's
// bounds; `call` is the request's context. False when a handle can't be had (the call then
// fails at once); `sent` says whether the request went out and was answered in time.
bool open_and_send(std::string_view address, const PageRequest& plan,
                   const std::optional<std::string_view>& proxy, const CallClock& clock,
                   PageCall* call, CallHandles& handles, bool& sent) {
  handles.root.reset(open_root(proxy));
  if (!handles.root) return false;
  // Without its notices the call could only wait out its bounds.
  if (InternetSetStatusCallbackW(handles.root.get(), on_status) ==
      INTERNET_INVALID_STATUS_CALLBACK) {
    return false;
  }
  handles.connection.reset(InternetConnectW(
      handles.root.get(), win32::widen(host_of_url(address)).c_str(),
      static_cast<INTERNET_PORT>(port_of_url(address)), L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
  if (!handles.connection) return false;

  call->add_ref();  // the request handle's hold, given back with its last notice
  // A fresh copy from the server, and none kept in the system's cache: the program reads
  // no cache, and writing one costs more than the request itself. Redirects are the call's
  // own to follow, counted: WinInet would follow a server that redirects to itself without
  // end.
  handles.request.reset(HttpOpenRequestW(
      handles.connection.get(), win32::widen(plan.verb).c_str(),
      win32::widen(path_of_url(address)).c_str(), L"HTTP/1.1", nullptr, nullptr,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT,
      reinterpret_cast<DWORD_PTR>(call)));
  if (!handles.request) {
    call->release();
    return false;
  }
  HINTERNET request = handles.request.get();
  for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                             INTERNET_OPTION_SEND_TIMEOUT}) {
    DWORD timeout = kTimeoutMs;
    InternetSetOptionW(request, option, &timeout, sizeof(timeout));
  }

  call->headers = win32::widen(plan.headers);
  call->body = plan.body;
  sent = run_operation(call, clock, [&] {
    return HttpSendRequestW(
        request, call->headers.c_str(), static_cast<DWORD>(call->headers.size()),
        call->body.empty() ? nullptr : call->body.data(), static_cast<DWORD>(call->body.size()));
  });
  return true;
}

// Reads the body of the answer on `request` within the call's bounds, letting the thread's
// messages run before each read. A failed read ends the body as its end would: what came
// so far is the page. `read_to_end` says whether the body ended by itself.
std::string read_page(HINTERNET request, PageCall* call, const CallClock& clock, size_t bound,
                      bool& read_to_end) {
  PageBody body(bound);
  read_to_end = false;
  while (body.wants_more() && !clock.time_is_up()) {
    win32::run_pending_messages();
    call->bytes_read = 0;
    const bool read = run_operation(call, clock, [&] {
      return InternetReadFile(request, call->buffer, kReadChunk, &call->bytes_read);
    });
    if (!read) break;
    if (call->bytes_read == 0) {
      read_to_end = true;
      break;
    }
    body.add(call->buffer, call->bytes_read);
  }
  return body.text();
}

}  // namespace

std::string http_request(std::string_view url, std::string_view method,
                         std::optional<std::string_view> proxy, std::string_view headers,
                         std::string_view post_data, std::string* response_headers) {
  const NetLimits limits = net_limits();
  const CallClock clock(limits);
  // What is asked, and where: a redirect may send the request elsewhere, and all but 307
  // and 308 turn it into a plain GET. The Referer keeps naming the caller's address.
  std::string address(url);
  std::string verb(method);
  std::string data(post_data);

  for (int redirects = 0;; ++redirects) {
    CallRef<PageCall> call(PageCall::create());
    if (!call) return std::string();
    CallHandles handles;
    bool sent = false;
    if (!open_and_send(address, plan_page_request(url, verb, headers, data), proxy, clock,
                       call.get(), handles, sent)) {
      return std::string();
    }
    HINTERNET request = handles.request.get();

    // A redirect without a Location is the page itself.
    const Redirect redirect = sent ? redirect_of(request) : Redirect();
    if (redirect.location) {
      close_in_background(std::move(handles));
      const std::optional<std::string> next =
          resolve_address(absolute_address(address), *redirect.location);
      // Past the redirects it may follow, or sent where plain HTTP doesn't reach, the call
      // fails as on a network error.
      if (redirects == limits.redirects || !next || next->rfind("http://", 0) != 0) {
        if (response_headers != nullptr) {
          *response_headers = std::string(kResponseHeaderBuffer, ' ');
        }
        return std::string();
      }
      address = *next;
      if (!redirect_keeps_method(redirect.status)) {
        verb = "GET";
        data.clear();
      }
      continue;
    }

    bool read_to_end = false;
    std::string page =
        sent ? read_page(request, call.get(), clock, limits.page_bytes, read_to_end) : "";
    if (response_headers != nullptr) *response_headers = query_response_headers(request);
    if (!read_to_end) close_in_background(std::move(handles));
    return page;
  }
}

int page_requests_in_flight() {
  return PageCall::in_flight();
}
