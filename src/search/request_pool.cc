#include "search/request_pool.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

struct RequestPool::Shared {
  std::mutex mutex;
  std::condition_variable work_arrived;
  std::deque<std::function<void()>> jobs;
  int limit = 1;
  int threads = 0;  // started and not yet ended
  int idle = 0;     // of them, waiting for work
  bool closed = false;
};

RequestPool::RequestPool(int threads) : shared_(std::make_shared<Shared>()) {
  shared_->limit = std::max(threads, 1);
}

RequestPool::~RequestPool() {
  {
    std::lock_guard<std::mutex> hold(shared_->mutex);
    shared_->closed = true;
  }
  shared_->work_arrived.notify_all();
}

void RequestPool::post(std::function<void()> job) {
  std::unique_lock<std::mutex> hold(shared_->mutex);
  shared_->jobs.push_back(std::move(job));
  // Idle threads take the first jobs; a thread is started for each job beyond them, up to
  // the limit. Past the limit a job waits for the next thread to finish one.
  const bool wake = shared_->idle > 0;
  const bool start = shared_->jobs.size() > static_cast<size_t>(shared_->idle) &&
                     shared_->threads < shared_->limit;
  if (start) ++shared_->threads;
  hold.unlock();
  if (wake) shared_->work_arrived.notify_one();
  if (!start) return;
  try {
    std::thread(work, shared_).detach();
    return;
  } catch (const std::system_error&) {
  }
  // No thread could be started: the job waits for a running thread, or, with none left,
  // runs here.
  hold.lock();
  --shared_->threads;
  if (shared_->threads > 0 || shared_->jobs.empty()) return;
  std::function<void()> next = std::move(shared_->jobs.front());
  shared_->jobs.pop_front();
  hold.unlock();
  next();
}

int RequestPool::threads() const {
  std::lock_guard<std::mutex> hold(shared_->mutex);
  return shared_->threads;
}

void RequestPool::work(const std::shared_ptr<Shared>& shared) {
  std::unique_lock<std::mutex> hold(shared->mutex);
  for (;;) {
    if (shared->jobs.empty()) {
      ++shared->idle;
      shared->work_arrived.wait_for(hold, std::chrono::milliseconds(kIdleMs),
                                    [&] { return !shared->jobs.empty() || shared->closed; });
      --shared->idle;
      if (shared->jobs.empty()) break;
    }
    std::function<void()> job = std::move(shared->jobs.front());
    shared->jobs.pop_front();
    hold.unlock();
    job();
    job = nullptr;  // what the job held goes before the next wait
    hold.lock();
  }
  --shared->threads;
}
