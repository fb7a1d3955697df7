// The bound on requests in flight.
#include "search/request_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(RequestPool, RunsEveryJobWithinTheBoundInTheOrderPosted) {
  std::atomic<int> running{0}, most{0};
  std::mutex mutex;
  std::vector<int> started;
  std::vector<std::future<int>> results;
  {
    RequestPool pool(3);
    for (int i = 0; i < 40; ++i) {
      results.push_back(pool.submit([&, i] {
        {
          std::lock_guard<std::mutex> hold(mutex);
          started.push_back(i);
        }
        const int now = ++running;
        for (int seen = most.load(); seen < now && !most.compare_exchange_weak(seen, now);) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        --running;
        return i * i;
      }));
    }
    EXPECT_LE(pool.threads(), 3);
  }  // the pool may go before its jobs have run: they still do
  for (int i = 0; i < 40; ++i) EXPECT_EQ(results[i].get(), i * i);
  EXPECT_LE(most.load(), 3);
  EXPECT_GE(most.load(), 2) << "the jobs ran one after another";
  // Jobs leave the queue in order, but two threads that took neighbours may note them the
  // other way round: a job can only be passed by the jobs running beside it, fewer than the
  // bound.
  std::lock_guard<std::mutex> hold(mutex);
  ASSERT_EQ(started.size(), 40u);
  for (int at = 0; at < 40; ++at) {
    EXPECT_LT(std::abs(started[at] - at), 3)
        << "job " << started[at] << " started in place " << at << ", out of posting order";
  }
}

TEST(RequestPool, IdleThreadsEnd) {
  RequestPool pool(4);
  std::vector<std::future<void>> done;
  for (int i = 0; i < 8; ++i) done.push_back(pool.submit([] {}));
  for (auto& d : done) d.get();
  for (int i = 0; i < 400 && pool.threads() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(pool.threads(), 0) << "threads without work are left behind";
}

}  // namespace
