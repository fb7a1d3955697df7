#include "net/web_address.h"

#include <vector>

namespace {

// An absolute address taken apart. `path` is empty or starts with "/".
struct Parts {
  std::string scheme;  // "http" or "https"
  std::string_view authority;
  std::string_view path;
  std::optional<std::string_view> query;
};

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_folded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool is_alpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The length of a scheme name followed by ":" at the start of `text`; 0 when it has none.
size_t scheme_length(std::string_view text) {
  if (text.empty() || !is_alpha(text[0])) return 0;
  for (size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') return i;
    if (!is_alpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

// Path, query and fragment of `rest` (what follows the authority or stands alone).
void split_tail(std::string_view rest, Parts& parts) {
  rest = rest.substr(0, rest.find('#'));
  const size_t question = rest.find('?');
  parts.path = rest.substr(0, question);
  if (question != std::string_view::npos) {
    parts.query = rest.substr(question + 1);
  } else {
    parts.query.reset();
  }
}

// Authority, path and query of `rest`, which starts with "//".
void split_network_path(std::string_view rest, Parts& parts) {
  rest.remove_prefix(2);
  const size_t end = rest.find_first_of("/?#");
  parts.authority = rest.substr(0, end);
  split_tail(end == std::string_view::npos ? std::string_view() : rest.substr(end), parts);
}

// `text` as an absolute http or https address.
std::optional<Parts> parse_absolute(std::string_view text) {
  const size_t length = scheme_length(text);
  if (length == 0) return std::nullopt;
  const std::string_view scheme = text.substr(0, length);
  if (!equal_folded(scheme, "http") && !equal_folded(scheme, "https")) return std::nullopt;
  const std::string_view rest = text.substr(length + 1);
  if (rest.substr(0, 2) != "//") return std::nullopt;
  Parts parts;
  parts.scheme = length == 4 ? "http" : "https";
  split_network_path(rest, parts);
  return parts;
}

// A line break or other control byte has no place in an address (and would end a header
// line early if sent on).
bool holds_control_characters(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

bool is_dot(std::string_view segment) {
  return segment == "." || equal_folded(segment, "%2e");
}

bool is_double_dot(std::string_view segment) {
  return segment == ".." || equal_folded(segment, ".%2e") || equal_folded(segment, "%2e.") ||
         equal_folded(segment, "%2e%2e");
}

// `path` (empty or from "/") without its "." and ".." segments; never above the root.
std::string without_dot_segments(std::string_view path) {
  if (path.empty()) return "/";
  std::vector<std::string_view> kept;
  size_t from = 1;
  for (;;) {
    const size_t slash = path.find('/', from);
    const bool last = slash == std::string_view::npos;
    const std::string_view segment = path.substr(from, last ? path.size() - from : slash - from);
    if (is_dot(segment)) {
      // A folder named by its last segment ("/a/." or "/a/..") keeps its trailing slash.
      if (last) kept.emplace_back();
    } else if (is_double_dot(segment)) {
      if (!kept.empty()) kept.pop_back();
      if (last) kept.emplace_back();
    } else {
      kept.push_back(segment);
    }
    if (last) break;
    from = slash + 1;
  }
  std::string out;
  for (const std::string_view segment : kept) {
    out += '/';
    out.append(segment);
  }
  return out.empty() ? "/" : out;
}

}  // namespace

bool is_redirect_status(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool redirect_keeps_method(int status) {
  return status == 307 || status == 308;
}

std::optional<std::string> resolve_address(std::string_view base, std::string_view reference) {
  if (holds_control_characters(base) || holds_control_characters(reference)) return std::nullopt;
  const std::optional<Parts> from = parse_absolute(base);
  if (!from || from->authority.empty()) return std::nullopt;

  Parts to;
  std::string merged;  // a relative path joined to the base's folder
  if (scheme_length(reference) != 0) {
    const std::optional<Parts> absolute = parse_absolute(reference);
    if (!absolute) return std::nullopt;
    to = *absolute;
  } else if (reference.substr(0, 2) == "//") {
    to.scheme = from->scheme;
    split_network_path(reference, to);
  } else {
    to.scheme = from->scheme;
    to.authority = from->authority;
    split_tail(reference, to);
    if (to.path.empty()) {
      to.path = from->path;
      // A fragment alone (or nothing) names the base itself, query and all.
      if (!to.query) to.query = from->query;
    } else if (to.path.front() != '/') {
      const size_t folder_end = from->path.rfind('/');
      merged = folder_end == std::string_view::npos
                   ? "/"
                   : std::string(from->path.substr(0, folder_end + 1));
      merged.append(to.path);
      to.path = merged;
    }
  }
  if (to.authority.empty()) return std::nullopt;

  std::string address = to.scheme;
  address += "://";
  address.append(to.authority);
  address += without_dot_segments(to.path);
  if (to.query) {
    address += '?';
    address.append(*to.query);
  }
  return address;
}

std::string_view path_of_address(std::string_view address) {
  const size_t scheme_end = address.find("://");
  if (scheme_end == std::string_view::npos) return {};
  const std::string_view rest = address.substr(scheme_end + 3);
  const size_t start = rest.find_first_of("/?#");
  if (start == std::string_view::npos || rest[start] != '/') return {};
  const std::string_view path = rest.substr(start);
  return path.substr(0, path.find_first_of("?#"));
}
