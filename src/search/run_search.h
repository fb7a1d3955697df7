#ifndef MOYAN_SEARCH_RUN_SEARCH_H_
#define MOYAN_SEARCH_RUN_SEARCH_H_

#include <functional>
#include <string>

#include "library/library_context.h"
#include "ui/window_port.h"

// `start_web_search`: starts harvesting the web for a trimmed, non-empty keyword and
// returns at once. Empty: a web search does nothing.
using StartWebSearch = std::function<void(const std::string& keyword)>;

// `run_search`, the search button 图形按钮1: checks the keyword (trimmed of half- and
// full-width spaces, it must not be empty), then searches the web when "网络搜索" is checked
// (tested first), else the library when "本地搜索" is, showing the library page either way;
// with neither checked it asks for an area.
void run_search(WindowPort& window, const LibraryContext& context,
                const StartWebSearch& start_web_search);

#endif  // MOYAN_SEARCH_RUN_SEARCH_H_
