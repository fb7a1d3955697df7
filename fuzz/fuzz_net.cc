// Properties of what a page request sends and of its bounds on arbitrary bytes: the
// caller's lines lead the header text unchanged, followed by at most one of each default
// line in their order and then the form lines of a POST with data; a body is only ever
// sent by a POST; a page body never passes its bound and never holds a zero byte; a download
// body never passes its bound and comes out as the bytes that went in; an address a link
// or redirect leads to is an http or https address without dot segments, control
// characters or fragment, which leads to itself again.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "net/download_body.h"
#include "net/http_headers.h"
#include "net/net_limits.h"
#include "net/page_body.h"
#include "net/web_address.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// Takes `prefix` off the front of `text` when it is there.
void skip(std::string& text, const std::string& prefix) {
  if (text.compare(0, prefix.size(), prefix) == 0) text.erase(0, prefix.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string url = input.ConsumeRandomLengthString(64);
  const std::string method = input.ConsumeRandomLengthString(8);
  const std::string headers = input.ConsumeRandomLengthString(128);
  const std::string post_data = input.ConsumeRandomLengthString(64);

  const PageRequest plan = plan_page_request(url, method, headers, post_data);
  check(plan.verb == "GET" || plan.verb == method);
  check(plan.headers.compare(0, headers.size(), headers) == 0);
  std::string added = plan.headers.substr(headers.size());
  skip(added, kDefaultAcceptLine);
  skip(added, "Referer: " + url + "\r\n");
  skip(added, kDefaultLanguageLine);
  if (plan.body.empty()) {
    check(added.empty());
  } else {
    check(plan.verb != "GET" && plan.body == post_data);
    check(added ==
          kFormTypeLine + ("Content-Length: " + std::to_string(post_data.size()) + "\r\n"));
  }

  const std::string block = input.ConsumeRandomLengthString(1100);
  const std::string fitted = fit_response_headers(block);
  check(fitted == block || fitted == std::string(kResponseHeaderBuffer, ' '));
  check(fitted.size() <= static_cast<size_t>(kResponseHeaderBuffer));

  const std::string length_text = input.ConsumeRandomLengthString(24);
  if (const auto length = declared_length(length_text)) {
    check(std::to_string(*length).size() <= length_text.size());
  }

  const std::string base = input.ConsumeRandomLengthString(48);
  const std::string reference = input.ConsumeRandomLengthString(48);
  if (const std::optional<std::string> address = resolve_address(base, reference)) {
    check(address->rfind("http://", 0) == 0 || address->rfind("https://", 0) == 0);
    for (const char c : *address) check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    check(address->find('#') == std::string::npos);
    const std::string_view path = path_of_address(*address);
    check(!path.empty() && path.front() == '/');
    check(path.find("/./") == std::string_view::npos && path.find("/../") == std::string_view::npos);
    check(resolve_address(base, *address) == address);
    check(resolve_address(*address, "") == address);
  }

  const size_t bound = input.ConsumeIntegralInRange<size_t>(0, 256);
  DownloadBody download(bound);
  std::string sent;
  bool taking = download.expect(input.ConsumeBool()
                                    ? std::optional<uint64_t>(input.ConsumeIntegral<uint16_t>())
                                    : std::nullopt);
  for (int i = 0; taking && i < 8; ++i) {
    const std::string piece = input.ConsumeRandomLengthString(64);
    taking = download.add(piece.data(), piece.size());
    sent += piece;
  }
  check(download.size() <= bound);
  const std::string taken = download.take().str();
  check(download.too_large() ? taken.empty() : taken == sent);

  PageBody body(input.ConsumeIntegralInRange<size_t>(0, 256));
  while (input.remaining_bytes() > 0 && body.wants_more()) {
    const std::string piece = input.ConsumeRandomLengthString(64);
    body.add(piece.data(), piece.size());
  }
  const std::string page = body.text();
  check(page.find('\0') == std::string::npos);
  check(!body.too_large() || page.empty());
  return 0;
}
