#ifndef MOYAN_SEARCH_REQUEST_POOL_H_
#define MOYAN_SEARCH_REQUEST_POOL_H_

#include <functional>
#include <future>
#include <memory>
#include <type_traits>
#include <utility>

// Runs jobs on at most a fixed number of threads at once, in the order they were posted:
// the bound on a web search's requests in flight, however many pages and hits it has.
// Threads are started as jobs arrive and end after a short idle time, so a finished search
// holds no threads; they are detached, and what they share lives as long as the last of
// them. Thread-safe.
class RequestPool {
 public:
  // How long a thread without work waits for more before it ends, in milliseconds: long
  // enough to bridge the gaps between a page's requests, short enough to leave nothing
  // behind a finished search.
  static constexpr int kIdleMs = 300;

  explicit RequestPool(int threads);
  RequestPool(const RequestPool&) = delete;
  RequestPool& operator=(const RequestPool&) = delete;
  // Threads left idle end at once; posted jobs still run.
  ~RequestPool();

  // Queues `job`. Should no thread at all be startable, it runs on the caller's thread.
  void post(std::function<void()> job);

  // Queues `job` and gives its result to come.
  template <typename Job>
  std::future<std::invoke_result_t<Job>> submit(Job job) {
    using Result = std::invoke_result_t<Job>;
    auto task = std::make_shared<std::packaged_task<Result()>>(std::move(job));
    std::future<Result> result = task->get_future();
    post([task] { (*task)(); });
    return result;
  }

  // Threads running or waiting for work now (for tests).
  int threads() const;

 private:
  struct Shared;
  static void work(const std::shared_ptr<Shared>& shared);

  std::shared_ptr<Shared> shared_;
};

#endif  // MOYAN_SEARCH_REQUEST_POOL_H_
