#include "search/search_progress.h"

#include <utility>

#include "text/text.h"

namespace {

constexpr char kRunning[] = "\xCD\xF8\xC2\xE7\xCB\xD1\xCB\xF7\xD6\xD0";        // "网络搜索中"
constexpr char kEnded[] = "\xCD\xF8\xC2\xE7\xCB\xD1\xCB\xF7\xCD\xEA\xB3\xC9";  // "网络搜索完成"
constexpr char kColon[] = "\xA3\xBA";                                          // "："
constexpr char kComma[] = "\xA3\xAC";                                          // "，"
constexpr char kPages[] = "\xD2\xB3";                                          // "页"
constexpr char kAdded[] = "\xD0\xC2\xD4\xF6";                                  // "新增"
constexpr char kPresent[] = "\xD2\xD1\xD3\xD0";                                // "已有"
constexpr char kEntries[] = "\xCC\xF5";                                        // "条"

}  // namespace

std::string progress_caption(const std::string& window_title, const SearchTotals& totals) {
  // "墨砚工坊V1.0 - 网络搜索中：2/3页，新增45条，已有12条"
  std::string caption = window_title;
  caption += " - ";
  caption += totals.searches_running > 0 ? kRunning : kEnded;
  caption += kColon;
  caption += to_text(totals.pages_done) + "/" + to_text(totals.pages_found) + kPages;
  caption += std::string(kComma) + kAdded + to_text(totals.added) + kEntries;
  caption += std::string(kComma) + kPresent + to_text(totals.present) + kEntries;
  return caption;
}

SearchProgress::SearchProgress(std::string window_title) : window_title_(std::move(window_title)) {}

template <typename Change>
void SearchProgress::report(ControlValues& window, bool at_once, Change change) {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    change(totals_);
    ++version_;
    if (showing_) return;  // the thread showing the caption shows this change too
    const auto now = std::chrono::steady_clock::now();
    if (!at_once && now - last_shown_ < std::chrono::milliseconds(kShowIntervalMs)) return;
    showing_ = true;
    last_shown_ = now;
  }
  show(window);
}

// Sets the caption, without holding the lock (the window's thread sets it while this
// thread waits), until it shows the latest totals.
void SearchProgress::show(ControlValues& window) {
  std::unique_lock<std::mutex> hold(mutex_);
  for (;;) {
    const unsigned long long shown = version_;
    const std::string caption = progress_caption(window_title_, totals_);
    const bool ended = totals_.searches_running == 0;
    hold.unlock();
    // What the searches did stays for a while; then the caption is the window's title again.
    if (ended) {
      window.show_passing_caption(caption);
    } else {
      window.set_control_text(Control::kMainWindow, caption);
    }
    hold.lock();
    if (version_ == shown) break;
  }
  showing_ = false;
  // Told while the lock is held: a waiter that finds everything settled may end the
  // progress as soon as it has the lock, and nothing of it is touched after that.
  settled_.notify_all();
}

void SearchProgress::search_started(ControlValues& window) {
  report(window, true, [](SearchTotals& t) {
    if (t.searches_running == 0) t = SearchTotals();
    ++t.searches_running;
  });
}

void SearchProgress::pages_counted(ControlValues& window, int pages) {
  report(window, true, [pages](SearchTotals& t) { t.pages_found += pages; });
}

void SearchProgress::page_done(ControlValues& window) {
  report(window, true, [](SearchTotals& t) { ++t.pages_done; });
}

void SearchProgress::entry_added(ControlValues& window) {
  report(window, false, [](SearchTotals& t) { ++t.added; });
}

void SearchProgress::entry_present(ControlValues& window) {
  report(window, false, [](SearchTotals& t) { ++t.present; });
}

void SearchProgress::search_ended(ControlValues& window) {
  report(window, true, [](SearchTotals& t) { --t.searches_running; });
}

SearchTotals SearchProgress::totals() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return totals_;
}

bool SearchProgress::wait_until_idle(int timeout_ms) {
  std::unique_lock<std::mutex> hold(mutex_);
  return settled_.wait_for(hold, std::chrono::milliseconds(timeout_ms),
                           [&] { return totals_.searches_running == 0 && !showing_; });
}
