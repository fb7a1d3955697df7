#include "net/http_request.h"

#include <windows.h>

#include <wininet.h>

#include <atomic>
#include <cwchar>
#include <functional>

#include "net/http_headers.h"
#include "net/net_limits.h"
#include "net/page_body.h"
#include "net/url.h"
#include "win32/code_page.h"
#include "win32/internet_handle.h"
#include "win32/message_pump.h"
#include "win32/owned_handle.h"

namespace {

// The connect, receive and send time-outs set on the request handle.
constexpr DWORD kTimeoutMs = 18000;
// Bytes asked for by each read.
constexpr DWORD kReadChunk = 512;

std::atomic<int> calls_in_flight{0};

// What the calling thread and WinInet's own threads share during one call. WinInet runs
// the request asynchronously, so the calling thread can stop waiting at a bound; a
// request given up that way may still be writing into the read buffer or reading the
// header text and body until its handle has finished closing. So these live on the heap,
// held by the caller and by the request handle, and go when both have let go: the handle
// lets go with its last notice, "handle closing".
class SharedCall {
 public:
  static SharedCall* create() { return new SharedCall(); }
  SharedCall(const SharedCall&) = delete;
  SharedCall& operator=(const SharedCall&) = delete;

  void add_ref() { refs_.fetch_add(1, std::memory_order_relaxed); }
  void release() {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  HANDLE completed() const { return completed_.get(); }
  DWORD error() const { return error_.load(std::memory_order_acquire); }
  void complete(DWORD error) {
    error_.store(error, std::memory_order_release);
    SetEvent(completed_.get());
  }

  // Buffers of the operation in progress; WinInet keeps pointers into them.
  std::wstring headers;
  std::string body;
  char buffer[kReadChunk];
  DWORD bytes_read = 0;

 private:
  SharedCall() : completed_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    calls_in_flight.fetch_add(1, std::memory_order_relaxed);
  }
  ~SharedCall() { calls_in_flight.fetch_sub(1, std::memory_order_relaxed); }

  std::atomic<int> refs_{1};
  win32::OwnedHandle completed_;
  std::atomic<DWORD> error_{ERROR_SUCCESS};
};

// The caller's hold on its SharedCall.
struct CallRef {
  explicit CallRef(SharedCall* c) : call(c) {}
  CallRef(const CallRef&) = delete;
  CallRef& operator=(const CallRef&) = delete;
  ~CallRef() { call->release(); }
  SharedCall* operator->() const { return call; }
  SharedCall* call;
};

// WinInet's notices for the request handle, whose context is its SharedCall. The root and
// connection handles carry context 0 and get no notices.
void CALLBACK on_status(HINTERNET /*handle*/, DWORD_PTR context, DWORD status, void* information,
                        DWORD /*length*/) {
  if (context == 0) return;
  auto* call = reinterpret_cast<SharedCall*>(context);
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
bool run_operation(SharedCall* call, const CallClock& clock, const std::function<BOOL()>& start) {
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

}  // namespace

std::string http_request(std::string_view url, std::string_view method,
                         std::optional<std::string_view> proxy, std::string_view headers,
                         std::string_view post_data, std::string* response_headers) {
  const NetLimits limits = net_limits();
  const CallClock clock(limits);
  const PageRequest plan = plan_page_request(url, method, headers, post_data);

  CallHandles handles;
  handles.root.reset(open_root(proxy));
  if (!handles.root) return std::string();
  // Without its notices the call could only wait out its bounds.
  if (InternetSetStatusCallbackW(handles.root.get(), on_status) ==
      INTERNET_INVALID_STATUS_CALLBACK) {
    return std::string();
  }

  handles.connection.reset(InternetConnectW(
      handles.root.get(), win32::widen(host_of_url(url)).c_str(),
      static_cast<INTERNET_PORT>(port_of_url(url)), L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
  if (!handles.connection) return std::string();

  CallRef call(SharedCall::create());
  if (call->completed() == nullptr) return std::string();
  call->add_ref();  // the request handle's hold, given back with its last notice
  // A fresh copy from the server, and none kept in the system's cache: the program reads
  // no cache, and writing one costs more than the request itself.
  handles.request.reset(HttpOpenRequestW(
      handles.connection.get(), win32::widen(plan.verb).c_str(),
      win32::widen(path_of_url(url)).c_str(), L"HTTP/1.1", nullptr, nullptr,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, reinterpret_cast<DWORD_PTR>(call.call)));
  if (!handles.request) {
    call->release();
    return std::string();
  }
  HINTERNET request = handles.request.get();

  for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                             INTERNET_OPTION_SEND_TIMEOUT}) {
    DWORD timeout = kTimeoutMs;
    InternetSetOptionW(request, option, &timeout, sizeof(timeout));
  }

  call->headers = win32::widen(plan.headers);
  call->body = plan.body;
  const bool sent = run_operation(call.call, clock, [&] {
    return HttpSendRequestW(
        request, call->headers.c_str(), static_cast<DWORD>(call->headers.size()),
        call->body.empty() ? nullptr : call->body.data(), static_cast<DWORD>(call->body.size()));
  });

  // A failed read ends the body as its end would: what came so far is the page.
  PageBody body(limits.page_bytes);
  bool read_to_end = false;
  while (sent && body.wants_more() && !clock.time_is_up()) {
    win32::run_pending_messages();
    call->bytes_read = 0;
    const bool read = run_operation(call.call, clock, [&] {
      return InternetReadFile(request, call->buffer, kReadChunk, &call->bytes_read);
    });
    if (!read) break;
    if (call->bytes_read == 0) {
      read_to_end = true;
      break;
    }
    body.add(call->buffer, call->bytes_read);
  }

  if (response_headers != nullptr) *response_headers = query_response_headers(request);
  if (!read_to_end) close_in_background(std::move(handles));
  return body.text();
}

int page_requests_in_flight() {
  return calls_in_flight.load(std::memory_order_relaxed);
}
