#ifndef MOYAN_SEARCH_WEB_SEARCH_H_
#define MOYAN_SEARCH_WEB_SEARCH_H_

#include <mutex>
#include <string>

#include "search/harvest.h"
#include "search/search_progress.h"
#include "search/web_services.h"
#include "ui/window_port.h"

// The web branch of the search button: one per program, kept for its whole run.
class WebSearch {
 public:
  // `window_title` is MainWindow's own caption, which the progress of searches extends.
  WebSearch(WebServices services, std::string window_title, HarvestLimits limits = {});

  // `start_web_search`, on the window's thread, with the trimmed, non-empty keyword: sets
  // the search's page address and starts a worker that fetches the first query, counts the
  // result pages and starts one worker per result page (at most the limit's pages) with
  // this search's own state. Returns at once, without waiting for the web; rows appear in
  // `window`'s result list as the workers find new entries, below whatever it shows.
  void start_web_search(WindowPort& window, const std::string& keyword);

  // `search_page_base` of the latest search ("...&pn="), empty before the first.
  std::string search_page_base() const;
  SearchProgress& progress() { return progress_; }
  const HarvestLimits& limits() const { return limits_; }

 private:
  const WebServices services_;
  const HarvestLimits limits_;
  SearchProgress progress_;
  mutable std::mutex mutex_;
  std::string search_page_base_;  // guarded by mutex_
};

#endif  // MOYAN_SEARCH_WEB_SEARCH_H_
