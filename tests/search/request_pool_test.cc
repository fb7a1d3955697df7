// The bound on requests in flight.
#include "search/request_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(RequestPool, RunsEveryJobOnceWithinTheBound) {
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
  // Every job started once. (The order in which several threads note their starts says
  // little: a thread held up between taking a job and noting it can be passed by any number.)
  std::lock_guard<std::mutex> hold(mutex);
  std::sort(started.begin(), started.end());
  ASSERT_EQ(started.size(), 40u);
  for (int at = 0; at < 40; ++at) EXPECT_EQ(started[at], at);
}

// Jobs leave the queue in the order they were posted: one thread takes them one by one.
TEST(RequestPool, RunsJobsInTheOrderPosted) {
  std::vector<int> started;
  std::vector<std::future<void>> done;
  {
    RequestPool pool(1);
    for (int i = 0; i < 20; ++i) {
      done.push_back(pool.submit([&started, i] {
        started.push_back(i);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }));
    }
  }
  for (auto& d : done) d.get();
  std::vector<int> posted(20);
  for (int i = 0; i < 20; ++i) posted[i] = i;
  EXPECT_EQ(started, posted);
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
