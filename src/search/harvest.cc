#include "search/harvest.h"

#include <deque>
#include <future>
#include <utility>
#include <vector>

#include "search/detail_page.h"
#include "search/open_library.h"
#include "search/result_page.h"
#include "search/search_query.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/text.h"

namespace {

// A hit on its way: the detail page's values once fetched.
struct PendingHit {
  const Hit* hit;
  std::string detail_address;
  std::future<DetailValues> values;
};

// Detail pages asked for and not yet used. Whatever way the page's work ends, the pool's
// jobs of this page are over before the worker goes on (they use the search's fetcher).
class PendingHits {
 public:
  ~PendingHits() {
    for (PendingHit& pending : queue_) {
      if (pending.values.valid()) pending.values.wait();
    }
  }
  std::deque<PendingHit>& queue() { return queue_; }

 private:
  std::deque<PendingHit> queue_;
};

// A hit whose detail page has been read.
struct ReadHit {
  const Hit* hit;
  std::string detail_address;
  DetailValues values;
};

// What became of a batch of hits.
struct BatchOutcome {
  int added = 0;
  int present = 0;
};

// Stores the batch's hits in their order and queues their rows, each unless the library
// holds its title by now (another worker, or another hit of this page, may have added it
// since the first check) or may hold it (a record couldn't be read: the hit is left for
// the next search). Under the lock, so the rows' order and the library's agree. The
// library is read once for the whole batch; the titles the batch adds are noted as it goes.
BatchOutcome store_hits(SearchRun& run, bool library_open, const std::vector<ReadHit>& batch) {
  BatchOutcome outcome;
  std::vector<ResultList::RowTexts> rows;
  std::lock_guard<std::mutex> hold(run.harvest_lock);
  if (library_open) run.titles.catch_up();
  for (const ReadHit& read : batch) {
    const Hit& hit = *read.hit;
    const TitleHeld held = library_open ? run.titles.held_so_far(hit.title) : TitleHeld::kNo;
    if (held == TitleHeld::kUnknown) continue;
    if (held == TitleHeld::kYes) {
      ++outcome.present;
      continue;
    }
    const DetailValues& values = read.values;
    rows.push_back(
        {hit.title, values.size, values.rating, values.update_time, read.detail_address});
    ++outcome.added;
    // A failed append (a full disk, a broken library) leaves the row listed and the library
    // as it was, as a failed write does everywhere in the program.
    if (library_open && append_record({{kFieldTitle, hit.title},
                                       {kFieldSize, values.size},
                                       {kFieldRating, values.rating},
                                       {kFieldUpdateTime, values.update_time},
                                       {kFieldAddress, read.detail_address}})) {
      run.titles.note_appended(hit.title);
    }
  }
  std::lock_guard<std::mutex> hold_rows(run.row_lock);
  run.waiting_rows.insert(run.waiting_rows.end(), std::make_move_iterator(rows.begin()),
                          std::make_move_iterator(rows.end()));
  return outcome;
}

// Hands the waiting rows to the list, unless another worker is doing so already (it takes
// these too before it stops). Each step is a trip to the window's thread, the dearest part
// of a row under Wine, so every row that waits goes in it; no lock is held meanwhile.
void list_waiting_rows(SearchRun& run) {
  std::unique_lock<std::mutex> hold(run.row_lock);
  if (run.listing_rows) return;
  run.listing_rows = true;
  while (!run.waiting_rows.empty()) {
    std::vector<ResultList::RowTexts> rows;
    rows.swap(run.waiting_rows);
    hold.unlock();
    run.window.append_numbered_rows(rows);
    hold.lock();
  }
  run.listing_rows = false;
  run.rows_listed.notify_all();
}

void harvest(SearchRun& run, std::future<ByteSet>& result_page) {
  WebFetcher& fetcher = *run.services.fetcher;
  const std::string page_text = to_text(result_page.get());
  const std::vector<Hit> hits =
      hits_of_result_page(page_text, run.services.sites.source_site_base_url);
  if (hits.empty()) return;

  OpenLibrary library(run.services.folder->library_path());
  // The duplicate check of the whole page at once: hits whose title the library holds are
  // neither fetched nor listed, nor are those it may hold (a record couldn't be read): they
  // are left for the next search. (Without a library nothing is held, so every hit is new.)
  std::vector<const Hit*> fresh;
  int present = 0;
  {
    std::lock_guard<std::mutex> hold(run.harvest_lock);
    if (library.open()) run.titles.catch_up();
    for (const Hit& hit : hits) {
      const TitleHeld held = library.open() ? run.titles.held_so_far(hit.title) : TitleHeld::kNo;
      if (held == TitleHeld::kYes) {
        ++present;
      } else if (held == TitleHeld::kNo) {
        fresh.push_back(&hit);
      }
    }
  }
  for (int i = 0; i < present; ++i) run.progress.entry_present(run.window);

  // Every new hit's detail page is asked for at once; the pool bounds the requests in
  // flight across the search. Asked only as this worker came round to them, they would
  // stop coming whenever it waits for the lock or the window's thread, and the pool would
  // run dry while the site could be answering.
  PendingHits pending;
  std::deque<PendingHit>& queue = pending.queue();
  for (const Hit* hit : fresh) {
    std::string address = run.services.sites.source_site_base_url + hit->path;
    std::future<DetailValues> values = run.requests.submit(
        [&fetcher, address] { return read_detail_values(to_text(fetcher.fetch(address))); });
    queue.push_back({hit, std::move(address), std::move(values)});
  }
  while (!queue.empty()) {
    // The next hit in the page's order, and with it every following one whose detail page
    // is here already, stored under one taking of the lock.
    std::vector<ReadHit> batch;
    do {
      PendingHit next = std::move(queue.front());
      queue.pop_front();
      DetailValues values = next.values.get();
      // A detail page without a rating (missing, or empty between its markers) adds nothing.
      if (!values.rating.empty()) {
        batch.push_back({next.hit, std::move(next.detail_address), std::move(values)});
      }
    } while (!queue.empty() &&
             queue.front().values.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
    if (batch.empty()) continue;
    const BatchOutcome outcome = store_hits(run, library.open(), batch);
    list_waiting_rows(run);
    for (int i = 0; i < outcome.added; ++i) run.progress.entry_added(run.window);
    for (int i = 0; i < outcome.present; ++i) run.progress.entry_present(run.window);
  }
}

}  // namespace

SearchRun::SearchRun(std::string page_base_address, const WebServices& web_services,
                     WindowPort& window_port, SearchProgress& search_progress,
                     const HarvestLimits& limits)
    : page_base(std::move(page_base_address)),
      services(web_services),
      window(window_port),
      progress(search_progress),
      requests(limits.requests_in_flight) {}

void read_library_titles(SearchRun& run) {
  OpenLibrary library(run.services.folder->library_path());
  if (!library.open()) return;
  std::lock_guard<std::mutex> hold(run.harvest_lock);
  run.titles.catch_up();
}

void finish_page(SearchRun& run) {
  run.progress.page_done(run.window);
  if (--run.pages_left == 0) run.progress.search_ended(run.window);
}

std::future<ByteSet> ask_result_page(SearchRun& run, int page) {
  WebFetcher& fetcher = *run.services.fetcher;
  std::string address = result_page_address(run.page_base, page);
  return run.requests.submit([&fetcher, address] { return fetcher.fetch(address); });
}

void harvest_page(const std::shared_ptr<SearchRun>& run, std::future<ByteSet> result_page) {
  try {
    harvest(*run, result_page);
  } catch (...) {
    // A page that fails in an unforeseen way ends like a page without hits; the others go on.
  }
  // The page is done once its rows are listed (another worker may be listing them).
  list_waiting_rows(*run);
  {
    std::unique_lock<std::mutex> hold(run->row_lock);
    run->rows_listed.wait(hold, [&] { return run->waiting_rows.empty() && !run->listing_rows; });
  }
  finish_page(*run);
}
