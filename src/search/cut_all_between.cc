#include "search/cut_all_between.h"

#include "text/text.h"

std::vector<std::string> cut_all_between(std::string_view text, std::string_view start_marker,
                                         std::string_view end_marker) {
  std::vector<std::string> pieces;
  const std::vector<std::string> parts = split_text(text, start_marker);
  // The first part is what precedes the first start marker (or the whole text when there
  // is none): never a piece.
  for (size_t i = 1; i < parts.size(); ++i) {
    const std::vector<std::string> up_to_end = split_text(parts[i], end_marker, 1);
    if (!up_to_end.empty()) pieces.push_back(up_to_end.front());
  }
  return pieces;
}
