// How long a web search takes from the click to its last row listed and stored: three result
// pages of 100 hits (299 detail pages), 20 ms per request at the stand-in web, a library of
// 10,000 entries, the real window under Wine. Beside it in the same run:
//   part_design  one thread per result page, its detail pages one after another, a library
//                scan per hit under the lock, and the row as eight list operations (insert,
//                row count, six cells), each a trip to the window's thread;
//   fetch_floor  the same 302 requests alone, at most 8 in flight, nothing listed or stored;
//   rows_alone   the 299 rows alone, one trip to the window's thread each, nothing fetched.
// MOYAN_STANDIN_PORT names the stand-in (tools/standin/with_standin.sh).
#include <benchmark/benchmark.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "app/main_window_port.h"
#include "app/web_parts.h"
#include "net/fetch_binary.h"
#include "search/detail_page.h"
#include "search/request_pool.h"
#include "search/result_page.h"
#include "search/search_query.h"
#include "search/web_search.h"
#include "standin_client.h"
#include "store/empty_library.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/text.h"
#include "win32/code_page.h"

namespace {

constexpr char kKeyword[] = "批量299";  // count 299: three pages of 100, 100 and 99 hits
constexpr int kHits = 299;
constexpr int kLibraryEntries = 10000;
constexpr int kDelayMs = 20;

double now_ms() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Lets the window's thread carry out what workers send it until `done`.
template <typename Done>
void pump_until(Done done) {
  while (!done()) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

// Downloads over WinHttp, counting the requests in flight.
class CountingFetcher final : public WebFetcher {
 public:
  ByteSet fetch(const std::string& address) override {
    const int now = ++in_flight_;
    for (int seen = most_.load(); seen < now && !most_.compare_exchange_weak(seen, now);) {
    }
    ByteSet body = fetch_binary(address);
    --in_flight_;
    return body;
  }
  int most() const { return most_.load(); }

 private:
  std::atomic<int> in_flight_{0}, most_{0};
};

// A folder with a library of 10,000 entries, made once; each run starts from a copy.
class Folders {
 public:
  Folders() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"moyan_search_bench_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root_.c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\master").c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\run").c_str(), nullptr);
    const std::string master = win32::narrow(root_ + L"\\master\\Code.edb");
    static_cast<void>(create_empty_library(master));
    store_open(master);
    for (int i = 1; i <= kLibraryEntries; ++i) {
      static_cast<void>(append_record({{kFieldTitle, "库中源码" + std::to_string(i)},
                                       {kFieldSize, std::string("10 KB")},
                                       {kFieldRating, std::string("★★★")},
                                       {kFieldUpdateTime, std::string("2011-01-01")},
                                       {kFieldAddress, std::string("http://x/soft/1.html")}}));
    }
    store_close();
  }
  ~Folders() {
    for (const wchar_t* dir : {L"\\master", L"\\run"}) {
      DeleteFileW((root_ + dir + L"\\Code.edb").c_str());
      DeleteFileW((root_ + dir + L"\\Code.EDT").c_str());
      RemoveDirectoryW((root_ + dir).c_str());
    }
    RemoveDirectoryW(root_.c_str());
  }
  // A fresh copy of the 10,000-entry library; gives its folder.
  std::string fresh_run() {
    for (const wchar_t* name : {L"\\Code.edb", L"\\Code.EDT"}) {
      CopyFileW((root_ + L"\\master" + name).c_str(), (root_ + L"\\run" + name).c_str(), FALSE);
    }
    return win32::narrow(root_ + L"\\run");
  }

 private:
  std::wstring root_;
};

int library_count(const std::string& library) {
  store_open(library);
  const int count = record_count();
  store_close();
  return count;
}

SearchSites stand_in_sites() {
  const std::string host = "127.0.0.1:" + std::to_string(standin::port());
  return {"http://" + host + "/", host, "http://" + host + "/"};
}

// The search as the program runs it.
double ours(MainWindowPort& port, const std::string& folder, CountingFetcher& fetcher,
            std::string* problem) {
  DiskFolder disk(folder);
  WebSearch search({stand_in_sites(), &fetcher, &disk}, "bench");
  port.delete_all_rows();
  const double start = now_ms();
  search.start_web_search(port, kKeyword);
  pump_until([&] { return search.progress().wait_until_idle(0); });
  const double took = now_ms() - start;
  if (port.row_count() != kHits || library_count(disk.library_path()) != kLibraryEntries + kHits) {
    *problem = "ours: rows " + std::to_string(port.row_count());
  }
  return took;
}

// The search as one thread per page, one detail page after another, a scan per hit.
double part_design(MainWindowPort& port, const std::string& folder, std::string* problem) {
  const SearchSites sites = stand_in_sites();
  const std::string library = folder + "\\Code.edb";
  port.delete_all_rows();
  const double start = now_ms();
  const int pages = count_result_pages(to_text(fetch_binary(first_query_address(sites, kKeyword))));
  const std::string base = search_page_base_of(sites, kKeyword);
  auto lock = std::make_shared<std::mutex>();
  auto done = std::make_shared<std::atomic<int>>(0);
  for (int page = 1; page <= pages; ++page) {
    std::thread([&port, sites, library, base, lock, done, page] {
      const std::string text = to_text(fetch_binary(result_page_address(base, page)));
      for (const Hit& hit : hits_of_result_page(text, sites.source_site_base_url)) {
        bool held;
        {
          std::lock_guard<std::mutex> hold(*lock);
          store_open(library);
          go_first();
          held = find_record([&] { return read_field(kFieldTitle).text() == hit.title; });
          store_close();
        }
        if (held) continue;
        const std::string address = sites.source_site_base_url + hit.path;
        const DetailValues values = read_detail_values(to_text(fetch_binary(address)));
        std::lock_guard<std::mutex> hold(*lock);
        if (values.rating.empty()) continue;
        const int row = port.insert_row();
        port.set_cell_text(row, 0, std::to_string(port.row_count()));
        port.set_cell_text(row, 1, hit.title);
        port.set_cell_text(row, 2, values.size);
        port.set_cell_text(row, 3, values.rating);
        port.set_cell_text(row, 4, values.update_time);
        port.set_cell_text(row, 5, address);
        store_open(library);
        append_blank_record();
        write_field(kFieldTitle, hit.title);
        write_field(kFieldSize, values.size);
        write_field(kFieldRating, values.rating);
        write_field(kFieldUpdateTime, values.update_time);
        write_field(kFieldAddress, address);
        store_close();
      }
      ++*done;
    }).detach();
  }
  pump_until([&] { return done->load() == pages; });
  const double took = now_ms() - start;
  if (port.row_count() != kHits || library_count(library) != kLibraryEntries + kHits) {
    *problem = "part design: rows " + std::to_string(port.row_count());
  }
  return took;
}

// The same rows alone, each in one trip from a worker to the window's thread: what the list
// itself costs (under Wine a visible list view's insertion grows dearer with its rows).
double rows_alone(MainWindowPort& port) {
  port.delete_all_rows();
  std::atomic<bool> done{false};
  const double start = now_ms();
  std::thread([&port, &done] {
    for (int i = 0; i < kHits; ++i) {
      port.append_numbered_row({"title", "10 KB", "rating", "2012-01-01", "address"});
    }
    done = true;
  }).detach();
  pump_until([&] { return done.load(); });
  return now_ms() - start;
}

// The same requests alone, 8 at a time.
double fetch_floor() {
  const SearchSites sites = stand_in_sites();
  const double start = now_ms();
  fetch_binary(first_query_address(sites, kKeyword));
  const std::string base = search_page_base_of(sites, kKeyword);
  std::vector<Hit> hits;
  {
    RequestPool pool(8);
    std::vector<std::future<ByteSet>> pages;
    for (int page = 1; page <= 3; ++page) {
      pages.push_back(
          pool.submit([&, page] { return fetch_binary(result_page_address(base, page)); }));
    }
    for (auto& page : pages) {
      for (Hit& hit : hits_of_result_page(to_text(page.get()), sites.source_site_base_url)) {
        hits.push_back(std::move(hit));
      }
    }
    std::vector<std::future<ByteSet>> details;
    for (const Hit& hit : hits) {
      const std::string address = sites.source_site_base_url + hit.path;
      details.push_back(pool.submit([address] { return fetch_binary(address); }));
    }
    for (auto& detail : details) detail.get();
  }
  return now_ms() - start;
}

void BM_WebSearch(benchmark::State& state) {
  if (standin::port() == 0) {
    state.SkipWithError("no stand-in web: run under tools/standin/with_standin.sh");
    return;
  }
  Folders folders;
  std::unique_ptr<MainWindow> window = MainWindow::create(WindowPlatform());
  if (!window) {
    state.SkipWithError("no window");
    return;
  }
  MainWindowPort port(*window);
  window->start(port, ExternalHandlers());
  fetch_binary(standin::url("/echo"));  // WinHttp loaded
  standin::set_fault("*", "delay", "ms=" + std::to_string(kDelayMs));

  std::vector<double> our_ms, part_ms, floor_ms, rows_ms;
  int most_in_flight = 0;
  std::string problem;
  for (auto _ : state) {
    CountingFetcher fetcher;
    our_ms.push_back(ours(port, folders.fresh_run(), fetcher, &problem));
    most_in_flight = std::max(most_in_flight, fetcher.most());
    part_ms.push_back(part_design(port, folders.fresh_run(), &problem));
    floor_ms.push_back(fetch_floor());
    rows_ms.push_back(rows_alone(port));
  }
  standin::set_fault("*", "none");
  if (!problem.empty()) state.SkipWithError(problem.c_str());
  state.counters["ours_ms"] = median(our_ms);
  state.counters["part_design_ms"] = median(part_ms);
  state.counters["fetch_floor_ms"] = median(floor_ms);
  state.counters["rows_alone_ms"] = median(rows_ms);
  state.counters["part_design_over_ours"] = median(part_ms) / median(our_ms);
  state.counters["ours_over_floor"] = median(our_ms) / median(floor_ms);
  state.counters["most_in_flight"] = most_in_flight;
}
BENCHMARK(BM_WebSearch)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
