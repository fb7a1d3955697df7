#include "library/local_files.h"

bool ends_with_character(const std::string& text, char c) {
  size_t i = 0;
  size_t last = text.size();
  while (i < text.size()) {
    last = i;
    i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
  }
  return last < text.size() && last + 1 == text.size() && text[last] == c;
}

std::string joined_path(const std::string& folder, char separator, const std::string& name) {
  if (folder.empty() || ends_with_character(folder, separator)) return folder + name;
  return folder + separator + name;
}
