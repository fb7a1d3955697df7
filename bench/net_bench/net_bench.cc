// The cost of one page request (WinInet) and one download (WinHttp request object, COM set
// up and closed around it) of a detail page from the stand-in web, against one plain
// socket GET of the same page in the same run: each routine's own cost is its time minus
// the plain GET's (goal: under 5 ms). MOYAN_STANDIN_PORT names the stand-in
// (tools/standin/with_standin.sh). The first call of each, which loads its libraries, is
// not timed.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/fetch_binary.h"
#include "net/http_request.h"
#include "standin_client.h"
#include "win32/com_apartment.h"

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
  fetch_binary(url);  // first use: the request object's library and type library loaded
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
// alike; and the COM set-up of a download alone.
void BM_Interleaved(benchmark::State& state) {
  if (!have_standin(state)) return;
  const int port = standin::port();
  const std::string url = standin::url(kPage);
  standin::plain_get(port, kPage);
  http_request(url);
  fetch_binary(url);
  std::vector<double> plain, page, download, com;
  for (auto _ : state) {
    plain.push_back(time_ms([&] { benchmark::DoNotOptimize(standin::plain_get(port, kPage)); }));
    page.push_back(time_ms([&] { benchmark::DoNotOptimize(http_request(url)); }));
    download.push_back(time_ms([&] { benchmark::DoNotOptimize(fetch_binary(url)); }));
    com.push_back(time_ms([] { win32::ComApartment apartment; }));
  }
  state.counters["plain_get_ms"] = median(plain);
  state.counters["http_request_ms"] = median(page);
  state.counters["fetch_binary_ms"] = median(download);
  state.counters["http_request_over_ms"] = median(page) - median(plain);
  state.counters["fetch_binary_over_ms"] = median(download) - median(plain);
  // Of that, setting COM up and closing it again, as every download does.
  state.counters["com_set_up_ms"] = median(com);
}
BENCHMARK(BM_Interleaved)->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
