#include "store/store_path.h"

#include "store/platform_file.h"

namespace {

// Position of the last separator, or npos.
size_t last_separator(const std::string& path) {
  size_t separator = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c >= 0x80) {
      if (kPathsAreGbk) ++i;
    } else if (c == '\\' || c == '/') {
      separator = i;
    }
  }
  return separator;
}

// Position of the extension's dot in the last segment, or npos.
size_t extension_dot(const std::string& path) {
  size_t dot = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c >= 0x80) {
      if (kPathsAreGbk) ++i;
    } else if (c == '\\' || c == '/') {
      dot = std::string::npos;
    } else if (c == '.') {
      dot = i;
    }
  }
  return dot;
}

}  // namespace

std::string store_file_path(const std::string& path) {
  if (path.empty()) return path;
  size_t dot = extension_dot(path);
  if (dot == std::string::npos) return path + ".EDB";
  if (dot + 1 == path.size()) return path + "EDB";
  return path;
}

std::string companion_file_path(const std::string& store_path) {
  size_t dot = extension_dot(store_path);
  if (dot == std::string::npos) return store_path + ".EDT";
  return store_path.substr(0, dot + 1) + "EDT";
}

std::string store_full_path(const std::string& path) {
  if (path.empty()) return std::string();
  return full_path_name(store_file_path(path));
}

std::string folder_of_path(const std::string& path) {
  size_t separator = last_separator(path);
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

std::string fold_path_case(const std::string& path) {
  std::string folded = path;
  for (size_t i = 0; i < folded.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folded[i]);
    if (c >= 0x80) {
      if (kPathsAreGbk) ++i;
    } else if (c >= 'A' && c <= 'Z') {
      folded[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return folded;
}

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80) {
      // Both bytes of a two-byte character must match exactly.
      if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return x == y && i + 1 >= a.size();
      ++i;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}
