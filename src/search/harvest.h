#ifndef MOYAN_SEARCH_HARVEST_H_
#define MOYAN_SEARCH_HARVEST_H_

#include <atomic>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "library/title_index.h"
#include "search/request_pool.h"
#include "search/search_progress.h"
#include "search/web_services.h"
#include "ui/window_port.h"

// Bounds of one web search, whatever its first page claims.
struct HarvestLimits {
  // Result pages harvested at most (a page of 100 hits each). The search engine shows no
  // more than some 760 results for a query, i.e. 8 pages; a count far beyond that comes
  // from a broken or hostile page and must not start a thread per claimed page.
  int max_result_pages = 20;
  // Requests (result pages and detail pages) in flight at once across a search's workers:
  // enough to hide the source site's latency, few enough not to flood it or the machine.
  int requests_in_flight = 8;
};

// One web search's own state, shared by its page workers, who keep it alive: a search
// started later has its own, so each worker goes on with the page address, the lock and
// the title index of the search that started it, and the lock outlives them all.
struct SearchRun {
  // The pages are counted later, before their workers start (`pages_left`).
  SearchRun(std::string page_base_address, const WebServices& web_services, WindowPort& window,
            SearchProgress& search_progress, const HarvestLimits& limits);

  const std::string page_base;  // result-page address up to its offset, "...&pn="
  const WebServices services;
  WindowPort& window;
  SearchProgress& progress;

  // `harvest_lock`: one worker at a time checks titles, appends to the library and queues
  // the row. The window's thread never takes it.
  std::mutex harvest_lock;
  TitleIndex titles;  // the library's titles; guarded by harvest_lock

  // Rows stored and not yet listed, in the library's order. One worker at a time hands
  // them to the list, all that are waiting in one step, while the others go on harvesting;
  // the window's thread never takes row_lock either.
  std::mutex row_lock;
  std::condition_variable rows_listed;
  std::vector<ResultList::RowTexts> waiting_rows;  // guarded by row_lock
  bool listing_rows = false;                       // guarded by row_lock
  RequestPool requests;
  std::atomic<int> pages_left{0};
};

// Reads the library's titles into the search's index (the library opened on the calling
// thread): done while the result pages are still on their way, the pages' duplicate checks
// then only read what was appended since.
void read_library_titles(SearchRun& run);

// Asks for result page `page` (from 1) on the search's request threads.
std::future<ByteSet> ask_result_page(SearchRun& run, int page);

// The body of a result page's worker, given the page asked for: drops hits whose title the
// library holds, fetches the other hits' detail pages (several at once, within the
// search's bound) and, in the page's order, lists and stores each hit whose detail page
// has a rating and whose title the library still doesn't hold. Reports to the search's
// progress; the search's last page reports its end.
void harvest_page(const std::shared_ptr<SearchRun>& run, std::future<ByteSet> result_page);

// A page's work is over (also a page whose worker could not be started): counted as done,
// and the search's last page reports the search's end. Waits for nothing (the window's
// thread calls it too).
void finish_page(SearchRun& run);

#endif  // MOYAN_SEARCH_HARVEST_H_
