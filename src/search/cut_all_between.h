#ifndef MOYAN_SEARCH_CUT_ALL_BETWEEN_H_
#define MOYAN_SEARCH_CUT_ALL_BETWEEN_H_

#include <string>
#include <string_view>
#include <vector>

// Every piece of `text` that follows an occurrence of `start_marker`, up to the next
// `end_marker` (or to the next start marker when no end marker comes first), in order.
// Markers are matched byte for byte, stepping over two-byte characters whole. Two start
// markers in a row give nothing between them; the text before the first one is dropped.
std::vector<std::string> cut_all_between(std::string_view text, std::string_view start_marker,
                                         std::string_view end_marker);

#endif  // MOYAN_SEARCH_CUT_ALL_BETWEEN_H_
