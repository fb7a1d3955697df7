#include "search/web_search.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "search/search_query.h"
#include "text/text.h"

namespace {

// What the first query's worker needs; it outlives the button's handler.
struct SearchStart {
  WebServices services;
  HarvestLimits limits;
  WindowPort& window;
  SearchProgress& progress;
  std::string first_query;
  std::string page_base;
};

// The first query's worker: fetches the first result page, counts the result pages (at
// most the limit's), asks for them all and harvests the first itself, each other page on a
// worker of its own, with this search's own state. The library's titles are read
// meanwhile on one of the search's request threads, so the duplicate checks find them read
// when the result pages come in; and the pages are on their way before their workers
// have started (under Wine a thread takes milliseconds to start).
void count_and_harvest(const SearchStart& start) {
  auto run = std::make_shared<SearchRun>(start.page_base, start.services, start.window,
                                         start.progress, start.limits);
  run->requests.post([run] { read_library_titles(*run); });
  const std::string first_page = to_text(start.services.fetcher->fetch(start.first_query));
  const int pages =
      std::min(count_result_pages(first_page), std::max(start.limits.max_result_pages, 1));
  run->pages_left = pages;
  std::vector<std::future<ByteSet>> result_pages;
  for (int page = 1; page <= pages; ++page) result_pages.push_back(ask_result_page(*run, page));
  start.progress.pages_counted(start.window, pages);
  for (int page = 2; page <= pages; ++page) {
    try {
      std::thread(harvest_page, run, std::move(result_pages[page - 1])).detach();
    } catch (const std::system_error&) {
      finish_page(*run);  // its page is skipped without notice
    }
  }
  harvest_page(run, std::move(result_pages[0]));
}

}  // namespace

WebSearch::WebSearch(WebServices services, std::string window_title, HarvestLimits limits)
    : services_(std::move(services)), limits_(limits), progress_(std::move(window_title)) {}

void WebSearch::start_web_search(WindowPort& window, const std::string& keyword) {
  SearchStart start{services_,
                    limits_,
                    window,
                    progress_,
                    first_query_address(services_.sites, keyword),
                    search_page_base_of(services_.sites, keyword)};
  {
    std::lock_guard<std::mutex> hold(mutex_);
    search_page_base_ = start.page_base;
  }
  // The search runs from here on, though its pages are counted only once the first page
  // is in: the window's thread never waits for the web, however slow the engine answers.
  progress_.search_started(window);
  try {
    std::thread([start = std::move(start)] { count_and_harvest(start); }).detach();
  } catch (const std::system_error&) {
    // Without a worker nothing is fetched: the search ends at once, with nothing found.
    progress_.search_ended(window);
  }
}

std::string WebSearch::search_page_base() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return search_page_base_;
}
