#ifndef MOYAN_BENCH_SHIM_BENCHMARK_H_
#define MOYAN_BENCH_SHIM_BENCHMARK_H_

// A small stand-in for Google Benchmark where Debian has no build of it (MinGW): the
// subset of its API that this project's benchmarks use, with the same meaning. Each
// benchmark runs until it has taken about half a second and prints its time per
// iteration, its rate and its counters.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace benchmark {

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond, kSecond };

class Counter {
 public:
  enum Flags { kDefaults = 0, kIsRate = 1, kAvgIterations = 2, kIsIterationInvariant = 4 };
  Counter(double value = 0, Flags flags = kDefaults) : value(value), flags(flags) {}
  operator double() const { return value; }
  double value;
  Flags flags;
};

class State {
 public:
  State(int64_t iterations, std::vector<int64_t> args);

  // Variables of this type are never warned about as unused, as in the real library.
  struct __attribute__((unused)) Value {};
  struct Iterator {
    State* state;
    int64_t left;
    bool operator!=(const Iterator&) const {
      if (left > 0) return true;
      state->finish();
      return false;
    }
    void operator++() { --left; }
    Value operator*() const { return Value(); }
  };
  Iterator begin() {
    start();
    return Iterator{this, iterations_};
  }
  Iterator end() { return Iterator{this, 0}; }
  bool KeepRunning();

  int64_t range(size_t i = 0) const { return i < args_.size() ? args_[i] : 0; }
  int64_t iterations() const { return iterations_; }
  int64_t max_iterations = 0;
  void PauseTiming();
  void ResumeTiming();
  void SetBytesProcessed(int64_t bytes) { bytes_ = bytes; }
  void SetItemsProcessed(int64_t items) { items_ = items; }
  void SetLabel(const std::string& label) { label_ = label; }
  void SkipWithError(const char* message) { error_ = message ? message : "error"; }

  std::map<std::string, Counter> counters;

  // For the runner.
  double seconds() const { return seconds_; }
  int64_t bytes() const { return bytes_; }
  int64_t items() const { return items_; }
  const std::string& label() const { return label_; }
  const std::string& error() const { return error_; }

 private:
  void start();
  void finish();
  int64_t iterations_;
  int64_t kept_running_ = 0;
  std::vector<int64_t> args_;
  double seconds_ = 0;
  double started_ = 0;
  bool running_ = false;
  int64_t bytes_ = 0, items_ = 0;
  std::string label_, error_;
};

namespace internal {

class Benchmark {
 public:
  Benchmark(const char* name, void (*fn)(State&)) : name_(name), fn_(fn) {}
  Benchmark* Arg(int64_t arg) {
    args_.push_back({arg});
    return this;
  }
  Benchmark* Args(const std::vector<int64_t>& args) {
    args_.push_back(args);
    return this;
  }
  Benchmark* Range(int64_t lo, int64_t hi);
  Benchmark* Unit(TimeUnit unit) {
    unit_ = unit;
    return this;
  }
  Benchmark* Iterations(int64_t n) {
    iterations_ = n;
    return this;
  }
  Benchmark* UseRealTime() { return this; }
  Benchmark* MinTime(double seconds) {
    min_time_ = seconds;
    return this;
  }
  void run(const std::string& filter);

 private:
  std::string name_;
  void (*fn_)(State&);
  std::vector<std::vector<int64_t>> args_;
  TimeUnit unit_ = kNanosecond;
  int64_t iterations_ = 0;
  double min_time_ = 0.5;
};

Benchmark* register_benchmark(const char* name, void (*fn)(State&));

}  // namespace internal

void Initialize(int* argc, char** argv);
void RunSpecifiedBenchmarks();
void Shutdown();

template <class T>
inline void DoNotOptimize(T&& value) {
  asm volatile("" : : "r,m"(value) : "memory");
}
inline void ClobberMemory() {
  asm volatile("" : : : "memory");
}

}  // namespace benchmark

#define BENCHMARK_SHIM_CONCAT2(a, b) a##b
#define BENCHMARK_SHIM_CONCAT(a, b) BENCHMARK_SHIM_CONCAT2(a, b)
#define BENCHMARK(fn)                                                                       \
  static ::benchmark::internal::Benchmark* BENCHMARK_SHIM_CONCAT(benchmark_shim_, __LINE__) \
      [[maybe_unused]] = ::benchmark::internal::register_benchmark(#fn, fn)
#define BENCHMARK_MAIN()                   \
  int main(int argc, char** argv) {        \
    ::benchmark::Initialize(&argc, argv);  \
    ::benchmark::RunSpecifiedBenchmarks(); \
    ::benchmark::Shutdown();               \
    return 0;                              \
  }                                        \
  int main(int, char**)

#endif  // MOYAN_BENCH_SHIM_BENCHMARK_H_
