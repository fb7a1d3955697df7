#ifndef MOYAN_SEARCH_SEARCH_PROGRESS_H_
#define MOYAN_SEARCH_SEARCH_PROGRESS_H_

#include <condition_variable>  // with std::chrono's clocks (<chrono> itself can't be built for GBK)
#include <mutex>
#include <string>

#include "ui/control_values.h"

// What the web searches of the moment have done, counted over every search that ran while
// another one still ran (a search started when none runs starts the count afresh).
struct SearchTotals {
  int searches_running = 0;
  int pages_found = 0;  // result pages to harvest
  int pages_done = 0;
  int added = 0;    // entries listed (and stored) as new
  int present = 0;  // hits skipped as the library holds their titles already
};

// The window's caption for the totals: the window's own title, then whether a web search
// runs or has ended, the pages done of those found, the entries added and those skipped as
// present.
std::string progress_caption(const std::string& window_title, const SearchTotals& totals);

// Shows in MainWindow's caption that web searches run and, once the last has ended, what
// they did, for a while (the window's title comes back after it); the result list and the
// messages stay as they are. Workers and the window's thread report to it. The window's
// thread never waits here for a worker: a worker that is showing the caption (waiting for
// the window's thread to set it) shows whatever was reported meanwhile before it stops.
class SearchProgress {
 public:
  // Entries added or skipped are shown at most this often (milliseconds: each showing is a
  // trip to the window's thread); pages and ends at once.
  static constexpr int kShowIntervalMs = 200;

  explicit SearchProgress(std::string window_title);

  // On the window's thread, as the search button starts a search (its result pages are
  // not known yet: its first page is still to come).
  void search_started(ControlValues& window);
  // A search that started has counted the `pages` result pages it harvests.
  void pages_counted(ControlValues& window, int pages);
  void page_done(ControlValues& window);
  void entry_added(ControlValues& window);
  void entry_present(ControlValues& window);
  // After the search's last page.
  void search_ended(ControlValues& window);

  SearchTotals totals() const;
  // Until no search runs and the caption shows it; false when the time ran out first.
  bool wait_until_idle(int timeout_ms);

 private:
  // Counts a change (under the lock) and shows the caption unless throttled.
  template <typename Change>
  void report(ControlValues& window, bool at_once, Change change);
  void show(ControlValues& window);

  const std::string window_title_;
  mutable std::mutex mutex_;
  std::condition_variable settled_;
  SearchTotals totals_;
  unsigned long long version_ = 0;  // of totals_, one more per change
  bool showing_ = false;            // a thread is setting the caption
  std::chrono::steady_clock::time_point last_shown_{};
};

#endif  // MOYAN_SEARCH_SEARCH_PROGRESS_H_
