#include "search/web_search.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#include "search/search_query.h"
#include "text/text.h"

WebSearch::WebSearch(WebServices services, std::string window_title, HarvestLimits limits)
    : services_(std::move(services)), limits_(limits), progress_(std::move(window_title)) {}

void WebSearch::start_web_search(WindowPort& window, const std::string& keyword) {
  const std::string first_page =
      to_text(services_.fetcher->fetch(first_query_address(services_.sites, keyword)));
  const int pages = std::min(count_result_pages(first_page), std::max(limits_.max_result_pages, 1));

  auto run = std::make_shared<SearchRun>(search_page_base_of(services_.sites, keyword), services_,
                                         window, progress_, limits_, pages);
  {
    std::lock_guard<std::mutex> hold(mutex_);
    search_page_base_ = run->page_base;
  }
  progress_.search_started(window, pages);
  for (int page = 1; page <= pages; ++page) {
    try {
      std::thread(harvest_page, run, page).detach();
    } catch (const std::system_error&) {
      finish_page(*run);  // its page is skipped without notice
    }
  }
}

std::string WebSearch::search_page_base() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return search_page_base_;
}
