#include <chrono>
#include <cstdio>
#include <cstring>
#include <regex>

#include "benchmark/benchmark.h"

namespace benchmark {
namespace {

double now_seconds() {
  using clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

std::vector<internal::Benchmark*>& registered() {
  static std::vector<internal::Benchmark*> benchmarks;
  return benchmarks;
}

std::string filter_pattern;

const char* unit_name(TimeUnit unit) {
  switch (unit) {
    case kSecond:
      return "s";
    case kMillisecond:
      return "ms";
    case kMicrosecond:
      return "us";
    default:
      return "ns";
  }
}

double unit_scale(TimeUnit unit) {
  switch (unit) {
    case kSecond:
      return 1;
    case kMillisecond:
      return 1e3;
    case kMicrosecond:
      return 1e6;
    default:
      return 1e9;
  }
}

std::string human_rate(double per_second, const char* suffix) {
  const char* prefixes[] = {"", "k", "M", "G", "T"};
  int p = 0;
  while (per_second >= 1024 && p < 4) {
    per_second /= 1024;
    ++p;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.3g%s%s", per_second, prefixes[p], suffix);
  return text;
}

}  // namespace

State::State(int64_t iterations, std::vector<int64_t> args)
    : iterations_(iterations), args_(std::move(args)) {}

void State::start() {
  running_ = true;
  started_ = now_seconds();
}

void State::finish() {
  if (running_) seconds_ += now_seconds() - started_;
  running_ = false;
}

bool State::KeepRunning() {
  if (kept_running_ == 0) start();
  if (kept_running_++ < iterations_) return true;
  finish();
  return false;
}

void State::PauseTiming() {
  finish();
}
void State::ResumeTiming() {
  start();
}

namespace internal {

Benchmark* Benchmark::Range(int64_t lo, int64_t hi) {
  for (int64_t v = lo; v < hi; v *= 8) args_.push_back({v});
  args_.push_back({hi});
  return this;
}

void Benchmark::run(const std::string& filter) {
  std::vector<std::vector<int64_t>> arg_sets = args_;
  if (arg_sets.empty()) arg_sets.push_back({});
  for (const auto& args : arg_sets) {
    std::string name = name_;
    for (int64_t a : args) name += "/" + std::to_string(a);
    if (!filter.empty() && !std::regex_search(name, std::regex(filter))) continue;
    // Grow the iteration count until one run takes the minimum time.
    int64_t n = iterations_ > 0 ? iterations_ : 1;
    for (;;) {
      State state(n, args);
      fn_(state);
      if (!state.error().empty()) {
        std::printf("%-40s ERROR: %s\n", name.c_str(), state.error().c_str());
        break;
      }
      double seconds = state.seconds();
      if (iterations_ == 0 && seconds < min_time_ && n < 1000000000) {
        double factor = seconds > 0 ? 1.4 * min_time_ / seconds : 10;
        n = static_cast<int64_t>(n * (factor > 10 ? 10 : factor < 1.5 ? 1.5 : factor)) + 1;
        continue;
      }
      double per_iteration = seconds / static_cast<double>(n);
      std::string line;
      char cell[160];
      std::snprintf(cell, sizeof cell, "%-40s %12.3f %s %10lld", name.c_str(),
                    per_iteration * unit_scale(unit_), unit_name(unit_), static_cast<long long>(n));
      line += cell;
      if (state.bytes() > 0 && seconds > 0) {
        line += " bytes_per_second=" + human_rate(state.bytes() / seconds, "/s");
      }
      if (state.items() > 0 && seconds > 0) {
        line += " items_per_second=" + human_rate(state.items() / seconds, "/s");
      }
      for (const auto& [key, counter] : state.counters) {
        double value = counter.value;
        if (counter.flags & Counter::kIsRate) value = seconds > 0 ? value / seconds : 0;
        if (counter.flags & Counter::kAvgIterations) value /= static_cast<double>(n);
        std::snprintf(cell, sizeof cell, " %s=%.6g", key.c_str(), value);
        line += cell;
      }
      if (!state.label().empty()) line += " " + state.label();
      std::printf("%s\n", line.c_str());
      std::fflush(stdout);
      break;
    }
  }
}

Benchmark* register_benchmark(const char* name, void (*fn)(State&)) {
  registered().push_back(new Benchmark(name, fn));
  return registered().back();
}

}  // namespace internal

void Initialize(int* argc, char** argv) {
  for (int i = 1; i < *argc; ++i) {
    const char* prefix = "--benchmark_filter=";
    if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) {
      filter_pattern = argv[i] + std::strlen(prefix);
    }
  }
}

void RunSpecifiedBenchmarks() {
  std::printf("%-40s %15s %10s\n", "Benchmark", "Time", "Iterations");
  for (internal::Benchmark* b : registered()) b->run(filter_pattern);
}

void Shutdown() {}

}  // namespace benchmark
