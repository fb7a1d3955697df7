// A category listing of 100,000 entries in the real window: how soon the first row is on
// the list, how long the whole listing takes against its two parts measured alone in the
// same run (one scan reading the six fields of every record; filling the list with the
// same rows), and how long the window keeps another thread waiting meanwhile.
//
// Windows builds; run under Wine:
//   ./scripts/wine-session.sh /usr/lib/wine/wine64
//   build/win64/bench/listing_bench/listing_bench.exe
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/library_handlers.h"
#include "app/local_files_win32.h"
#include "app/main_window.h"
#include "app/main_window_port.h"
#include "library/library_context.h"
#include "library/library_listing.h"
#include "model_library.h"
#include "store/source_record.h"
#include "store/store.h"
#include "win32/code_page.h"

namespace {

// The performance counter: <chrono> can't be read in this file's GBK literals.
struct Clock {
  using time_point = int64_t;
  static time_point now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
  }
};

constexpr int kEntries = 100000;
constexpr int kRounds = 3;
constexpr char kListedCategory[] = "\xCF\xB5\xCD\xB3\xB9\xA4\xBE\xDF";  // "系统工具"

double ms_since(Clock::time_point start, Clock::time_point end = Clock::now()) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end - start) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A library of kEntries entries of one category, written straight into the file.
std::string make_library() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::string path = win32::narrow(temp) + "moyan_listing_bench.edb";
  write_model_library(path, kEntries, [](char* r, int i) {
    using namespace model_record;
    std::snprintf(r + kTitle, 256, "\xD2\xD7\xD3\xEF\xD1\xD4 entry %d", i);
    std::snprintf(r + kCategory, 16, "%s", kListedCategory);
    std::snprintf(r + kSizeText, 16, "%d.5 KB", i % 900);
    std::snprintf(r + kStars, 16, "\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF");  // "★★★★★"
    std::snprintf(r + kTime, 32, "2013-10-%d 9:5:7", 1 + i % 28);
    std::snprintf(r + kAddress, 260, "C:\\sources\\entry%d.e", i);
  });
  return path;
}

// When the list is first told it has rows.
std::atomic<bool> first_row_seen{false};
Clock::time_point first_row_at;

LRESULT CALLBACK watch_count(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                             DWORD_PTR) {
  if (message == LVM_SETITEMCOUNT && wparam > 0 && !first_row_seen) {
    first_row_at = Clock::now();
    first_row_seen = true;
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

// Another thread asks the window a question every few milliseconds while `running`, and
// keeps the longest wait for its answer.
class Prober {
 public:
  explicit Prober(HWND window) : window_(window) {
    thread_ = std::thread([this] {
      while (!stop_) {
        const Clock::time_point asked = Clock::now();
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
        longest_ = std::max(longest_.load(), ms_since(asked));
        ++asked_;
        Sleep(5);
      }
      done_ = true;
    });
  }
  ~Prober() { finish(); }
  void finish() {
    stop_ = true;
    // The window's thread answers while the prober may still be waiting on it.
    if (!thread_.joinable()) return;
    while (!done_) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(1);
    }
    thread_.join();
  }
  double longest() const { return longest_; }
  int asked() const { return asked_; }

 private:
  HWND window_;
  std::thread thread_;
  std::atomic<bool> stop_{false}, done_{false};
  std::atomic<double> longest_{0};
  std::atomic<int> asked_{0};
};

void drain(int ms) {
  const Clock::time_point start = Clock::now();
  while (ms_since(start) < ms) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string library = make_library();
  std::unique_ptr<MainWindow> window = MainWindow::create(WindowPlatform{});
  if (!window) {
    std::fprintf(stderr, "the window could not be created\n");
    return 1;
  }
  MainWindowPort port(*window);
  Win32LocalFiles files;
  auto context = std::make_shared<LibraryContext>();
  context->store_path = library;
  context->files = &files;
  context->pending_file_name = [] { return std::string(); };
  context->set_pending_file_name = [](const std::string&) {};
  // The pacing of the window's turns can be given, in milliseconds, to compare.
  if (argc > 1) context->pacing.interval_ms = std::atoi(argv[1]);
  ExternalHandlers handlers;
  bind_library_handlers(handlers, context, StartWebSearch());
  window->start(port, handlers);
  drain(200);
  HWND list = window->control(Control::超级列表框1);
  SetWindowSubclass(list, watch_count, 1, 0);

  std::vector<double> whole, first, scan, fill, longest;
  int rows = 0;
  for (int round = 0; round < kRounds; ++round) {
    // The listing, as the button's handler runs it.
    port.delete_all_rows();
    drain(50);
    first_row_seen = false;
    {
      Prober prober(window->hwnd());
      const Clock::time_point clicked = Clock::now();
      list_category(port, *context, kListedCategory);
      // Done once the list itself counts every row (it may be told of the last ones a
      // moment after the handler has returned).
      while (ListView_GetItemCount(list) != port.row_count()) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        DispatchMessageW(&msg);
      }
      whole.push_back(ms_since(clicked));
      first.push_back(first_row_seen ? ms_since(clicked, first_row_at) : -1);
      prober.finish();
      longest.push_back(prober.longest());
    }
    rows = port.row_count();
    drain(50);

    // Its parts alone: one scan reading the six fields of every record...
    std::vector<ResultList::RowTexts> found;
    found.reserve(kEntries);
    Clock::time_point start = Clock::now();
    store_open(library);
    go_first();
    find_record([&] {
      if (read_field(kFieldCategory).text() == kListedCategory) {
        found.push_back({read_field(kFieldTitle).text(), read_field(kFieldSize).text(),
                         read_field(kFieldRating).text(), read_field(kFieldUpdateTime).text(),
                         read_field(kFieldAddress).text()});
      }
      return false;
    });
    store_close();
    scan.push_back(ms_since(start));
    // ... and filling the list with the same rows.
    port.delete_all_rows();
    drain(50);
    start = Clock::now();
    port.append_numbered_rows(found);
    UpdateWindow(list);
    fill.push_back(ms_since(start));
    drain(50);
  }

  const double parts = median(scan) + median(fill);
  std::printf("listing of %d entries of one category, %d rounds, medians (ms):\n", kEntries,
              kRounds);
  std::printf("  rows listed                 %d\n", rows);
  std::printf("  first row on the list       %.1f\n", median(first));
  std::printf("  whole listing               %.1f\n", median(whole));
  std::printf("  scan alone                  %.1f\n", median(scan));
  std::printf("  filling the list alone      %.1f\n", median(fill));
  std::printf("  whole / (scan + fill)       %.2f\n", median(whole) / parts);
  std::printf("  longest wait for the window %.1f\n", median(longest));
  window.reset();
  return 0;
}
