// Searching and cutting a 1 MB GBK result page, against a plain byte search of the same
// marker on the same page; and url_encode throughput. Compare the figures of one run.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <string_view>

#include "text/text.h"

namespace {

// Mixed ASCII markup and two-byte text like a harvested page, with the result count near
// the end.
const std::string& result_page() {
  static const std::string page = [] {
    const std::string row =
        "<div class=\"result\"><h3><a href=\"http://www.example.com/soft/12345.html\">"
        "易语言源码 模块控件 数据库类 多媒体类 图形图像 系统工具</a></h3>"
        "<p>大小：12KB 更新时间：2024-03-05 推荐星级：★★★★ 下载次数 1024</p></div>\n";
    const std::string tail =
        "<span class=\"nums\">找到相关结果约1234个</span>\n"
        "<p>更新日期：2024-03-05</p></body></html>";
    std::string text;
    while (text.size() + row.size() + tail.size() < (1 << 20)) text += row;
    return text + tail;
  }();
  return page;
}

constexpr std::string_view kMarker = "<span class=\"nums\">";
constexpr std::string_view kUpperMarker = "<SPAN CLASS=\"NUMS\">";
const std::string kWideMarker = "更新日期";

void set_page_bytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(result_page().size()));
}

void BM_PlainByteFind(benchmark::State& state) {
  const std::string_view page = result_page();
  for (auto _ : state) benchmark::DoNotOptimize(page.find(kMarker));
  set_page_bytes(state);
}
BENCHMARK(BM_PlainByteFind);

#ifdef __GLIBC__
void BM_PlainMemmem(benchmark::State& state) {
  const std::string& page = result_page();
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(page.data(), page.size(), kMarker.data(), kMarker.size()));
  }
  set_page_bytes(state);
}
BENCHMARK(BM_PlainMemmem);
#endif

void BM_FindText(benchmark::State& state) {
  const std::string& page = result_page();
  for (auto _ : state) benchmark::DoNotOptimize(find_text(page, kMarker));
  set_page_bytes(state);
}
BENCHMARK(BM_FindText);

void BM_FindTextIgnoreCase(benchmark::State& state) {
  const std::string& page = result_page();
  for (auto _ : state) benchmark::DoNotOptimize(find_text(page, kUpperMarker, 1, true));
  set_page_bytes(state);
}
BENCHMARK(BM_FindTextIgnoreCase);

void BM_TextBetween(benchmark::State& state) {
  const std::string& page = result_page();
  for (auto _ : state) benchmark::DoNotOptimize(text_between(page, kMarker, "</span>"));
  set_page_bytes(state);
}
BENCHMARK(BM_TextBetween);

// A two-byte marker whose first character begins every row ("更新时间").
void BM_PlainByteFindWide(benchmark::State& state) {
  const std::string_view page = result_page();
  for (auto _ : state) benchmark::DoNotOptimize(page.find(kWideMarker));
  set_page_bytes(state);
}
BENCHMARK(BM_PlainByteFindWide);

void BM_FindTextWide(benchmark::State& state) {
  const std::string& page = result_page();
  for (auto _ : state) benchmark::DoNotOptimize(find_text(page, kWideMarker));
  set_page_bytes(state);
}
BENCHMARK(BM_FindTextWide);

// A query word, a few kilobytes, the whole page: the encoding itself against the cost of
// allocating the result.
void BM_UrlEncode(benchmark::State& state) {
  const std::string text =
      result_page().substr(result_page().size() / 2, static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(url_encode(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UrlEncode)->Arg(16)->Arg(64)->Arg(4096)->Arg(1 << 20);

}  // namespace

BENCHMARK_MAIN();
