// The cost of one page request (WinInet) and one download (WinHttp) of a detail page from
// the stand-in web, against one plain socket GET of the same page in the same run: each
// routine's own cost is its time minus the plain GET's (goal: under 5 ms). And the memory a
// download of an endless body takes before it gives up at the shipped bound (goal: less
// than the bound and 16 MB more). MOYAN_STANDIN_PORT names the stand-in
// (tools/standin/with_standin.sh). The first call of each, which loads its libraries, is
// not timed.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>


#include "net/fetch_binary.h"
#include "net/http_request.h"
#include "net/net_limits.h"
#include "standin_client.h"
#include "working_set.h"

namespace {

constexpr char kPage[] = "/soft/101.html";

bool have_standin(benchmark::State& state) {
  if (standin::port() != 0) return true;
  state.SkipWithError("no stand-in web: run under tools/standin/with_standin.sh");
  return false;
}

void BM_PlainSocketGet(benchmark::State& state) {
  if (!have_standin(state)) return;
  const int port = standin::port();
  standin::plain_get(port, kPage);  // first use: Winsock started
  size_t bytes = 0;
  for (auto _ : state) {
    const standin::Answer answer = standin::plain_get(port, kPage);
    bytes = answer.body.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PlainSocketGet)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HttpRequest(benchmark::State& state) {
  if (!have_standin(state)) return;
  const std::string url = standin::url(kPage);
  http_request(url);  // first use: WinInet loaded and set up
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = http_request(url);
    bytes = page.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_HttpRequest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FetchBinary(benchmark::State& state) {
  if (!have_standin(state)) return;
  const std::string url = standin::url(kPage);
  fetch_binary(url);  // first use: WinHttp loaded
  size_t bytes = 0;
  for (auto _ : state) {
    const ByteSet body = fetch_binary(url);
    bytes = body.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FetchBinary)->Unit(benchmark::kMillisecond)->UseRealTime();

double milliseconds_of(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

template <typename Call>
double time_ms(Call&& call) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  call();
  QueryPerformanceCounter(&end);
  return milliseconds_of(start, end);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// The three one after another, round after round, each call timed alone: medians per call
// and each routine's excess over the plain GET, so that a busy machine weighs on all three
// alike.
void BM_Interleaved(benchmark::State& state) {
  if (!have_standin(state)) return;
  const int port = standin::port();
  const std::string url = standin::url(kPage);
  standin::plain_get(port, kPage);
  http_request(url);
  fetch_binary(url);
  std::vector<double> plain, page, download;
  for (auto _ : state) {
    plain.push_back(time_ms([&] { benchmark::DoNotOptimize(standin::plain_get(port, kPage)); }));
    page.push_back(time_ms([&] { benchmark::DoNotOptimize(http_request(url)); }));
    download.push_back(time_ms([&] { benchmark::DoNotOptimize(fetch_binary(url)); }));
  }
  state.counters["plain_get_ms"] = median(plain);
  state.counters["http_request_ms"] = median(page);
  state.counters["fetch_binary_ms"] = median(download);
  state.counters["http_request_over_ms"] = median(page) - median(plain);
  state.counters["fetch_binary_over_ms"] = median(download) - median(plain);
}
BENCHMARK(BM_Interleaved)->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();

// A large package, declared or chunked: how fast the download reads what the stand-in
// sends (16 MiB at up to 1 GiB/s).
void large_body(benchmark::State& state, const char* target) {
  if (!have_standin(state)) return;
  const std::string url = standin::url(target);
  fetch_binary(standin::url(kPage));
  size_t bytes = 0;
  for (auto _ : state) bytes = fetch_binary(url).size();
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}
void BM_LargeDeclaredBody(benchmark::State& state) {
  large_body(state, "/fault/huge/x?bytes=16777216&rate=1073741824");
}
BENCHMARK(BM_LargeDeclaredBody)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_LargeChunkedBody(benchmark::State& state) {
  large_body(state, "/fault/chunked-huge/x?bytes=16777216&rate=1073741824");
}
BENCHMARK(BM_LargeChunkedBody)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// A download of a body that never ends, chunked or ended by closing, at the shipped bounds:
// the working set before, its peak while the call runs (sampled every millisecond), and
// the process's peak since it started.
void endless_body(benchmark::State& state, const char* target) {
  if (!have_standin(state)) return;
  const std::string url = standin::url(target);
  fetch_binary(standin::url(kPage));
  double before_mb = 0, peak_mb = 0, seconds = 0;
  for (auto _ : state) {
    double took = 0;
    const MemoryDuring memory = memory_during(
        [&] { took = time_ms([&] { benchmark::DoNotOptimize(fetch_binary(url)); }); });
    before_mb = static_cast<double>(memory.before) / (1 << 20);
    peak_mb = static_cast<double>(memory.peak) / (1 << 20);
    seconds = took / 1000;
  }
  const PROCESS_MEMORY_COUNTERS counters = process_memory();
  state.counters["bound_mb"] = static_cast<double>(shipped_net_limits().download_bytes) / (1 << 20);
  state.counters["before_mb"] = before_mb;
  state.counters["peak_mb"] = peak_mb;
  state.counters["growth_mb"] = peak_mb - before_mb;
  state.counters["process_peak_mb"] = static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
  state.counters["call_s"] = seconds;
}
void BM_EndlessChunkedBody(benchmark::State& state) {
  endless_body(state, "/fault/chunked-endless/x?rate=268435456");
}
BENCHMARK(BM_EndlessChunkedBody)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_EndlessClosingBody(benchmark::State& state) {
  endless_body(state, "/fault/endless/x?rate=268435456");
}
BENCHMARK(BM_EndlessClosingBody)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
