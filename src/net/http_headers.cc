#include "net/http_headers.h"

#include "text/text.h"

std::string settle_method(std::string_view method) {
  if (to_upper(method) == "POST") return std::string(method);
  return "GET";
}

std::string complete_request_headers(std::string_view headers, std::string_view url) {
  std::string text(headers);
  // Each test looks at the text as it stands, the lines added before it included.
  const auto holds = [&text](std::string_view name) {
    return find_text(text, name, 1, /*ignore_case=*/true) != -1;
  };
  if (!holds("Accept: ")) text += kDefaultAcceptLine;
  if (!holds("Referer: ")) {
    text += "Referer: ";
    text += url;
    text += "\r\n";
  }
  if (!holds("Accept-Language: ")) text += kDefaultLanguageLine;
  return text;
}

PageRequest plan_page_request(std::string_view url, std::string_view method,
                              std::string_view headers, std::string_view post_data) {
  PageRequest request;
  request.verb = settle_method(method);
  request.headers = complete_request_headers(headers, url);
  if (request.verb == "GET") return request;
  if (!post_data.empty()) {
    request.headers += kFormTypeLine;
    request.headers += "Content-Length: " + to_text(text_byte_length(post_data)) + "\r\n";
    request.body = std::string(post_data);
  }
  return request;
}

std::string fit_response_headers(std::string_view block) {
  if (block.size() + 1 > static_cast<size_t>(kResponseHeaderBuffer)) {
    return spaces(kResponseHeaderBuffer);
  }
  return std::string(block);
}
