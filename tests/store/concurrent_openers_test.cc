// Several openers of one store at once: processes and threads, each kept apart from the
// others by the file's byte locks.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "child_process.h"
#include "store_test_support.h"

namespace {

constexpr int kRecordsPerProcess = 2000;
const char kChildPathVariable[] = "MOYAN_STORE_CHILD_PATH";
const char kChildNameVariable[] = "MOYAN_STORE_CHILD_NAME";

// The child's work: its share of entries, each titled with its name. Exit status 0 when
// every append and write succeeded.
int append_share(const char* lib, const std::string& name) {
  if (!store_open(lib)) return 2;
  for (int i = 0; i < kRecordsPerProcess; ++i) {
    if (!append_blank_record() || !write_field(kFieldTitle, name + "-" + std::to_string(i))) {
      return 3;
    }
  }
  store_close();
  return 0;
}

class ConcurrentOpeners : public StoreTest {};

TEST_F(ConcurrentOpeners, TwoProcessesAppendingLoseNothing) {
  std::string lib = new_library();
#ifdef _WIN32
  SetEnvironmentVariableA(kChildPathVariable, lib.c_str());
#else
  setenv(kChildPathVariable, lib.c_str(), 1);
#endif
  ChildProcess a = start_child(kChildNameVariable, "a");
  ChildProcess b = start_child(kChildNameVariable, "b");
  EXPECT_EQ(wait_child(a), 0);
  EXPECT_EQ(wait_child(b), 0);

  ASSERT_TRUE(store_open(lib));
  ASSERT_EQ(record_count(), 2 * kRecordsPerProcess);
  std::set<std::string> titles;
  std::set<int64_t> ids;
  std::string bytes = read_file(lib);
  for (int i = 1; i <= record_count(); ++i) {
    go_to_record(i);
    titles.insert(read_field(kFieldTitle).text());
    ids.insert(get32(bytes, 116 + 72 * 7 + 604 * static_cast<size_t>(i - 1)));
  }
  EXPECT_EQ(ids.size(), 2u * kRecordsPerProcess);
  EXPECT_EQ(titles.size(), 2u * kRecordsPerProcess);
  EXPECT_TRUE(titles.count("a-0") && titles.count("b-1999"));
}

TEST_F(ConcurrentOpeners, SameProcessTwoOpenersConflictOnLocks) {
  // Each thread opens the store on its own; the byte locks keep them apart.
  std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 3);
  std::thread other([&] {
    EXPECT_TRUE(store_open(lib));  // another thread's registry: not "already open"
    EXPECT_EQ(record_count(), 3);
    EXPECT_TRUE(append_blank_record());
    store_close();
  });
  other.join();
  EXPECT_EQ(record_count(), 4);
  EXPECT_EQ(record_number(), 3);  // this thread's cursor is its own
}

TEST_F(ConcurrentOpeners, ThreadsAppendingAndScanningAtOnce) {
  std::string lib = new_library();
  constexpr int kWriters = 2, kPerWriter = 300;
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int w = 0; w < kWriters; ++w) {
    threads.emplace_back([&, w] {
      // Open, append one entry with its fields, close: as a harvesting worker does.
      for (int i = 0; i < kPerWriter; ++i) {
        bool ok = store_open(lib) && append_blank_record() &&
                  write_field(kFieldTitle, "w" + std::to_string(w) + "-" + std::to_string(i)) &&
                  write_field(kFieldAttachment, ByteSet(std::string(700, 'a' + w)));
        if (!ok) ++failures;
        store_close();
      }
    });
  }
  for (int s = 0; s < 2; ++s) {
    threads.emplace_back([&] {
      int last_count = 0;
      while (!done.load()) {
        if (!store_open(lib)) {
          ++failures;
          continue;
        }
        int count = record_count();
        if (count < last_count) ++failures;
        last_count = count;
        go_first();
        if (find_record([] { return read_field(kFieldTitle).text() == "absent"; })) ++failures;
        go_first();
        // A value is there whole or not yet at all, never torn.
        if (count > 0 && find_record([] {
              size_t size = read_field(kFieldAttachment).bytes().size();
              return size != 0 && size != 700;
            })) {
          ++failures;
        }
        store_close();
      }
    });
  }
  for (int w = 0; w < kWriters; ++w) threads[static_cast<size_t>(w)].join();
  done = true;
  for (size_t t = kWriters; t < threads.size(); ++t) threads[t].join();
  EXPECT_EQ(failures.load(), 0);
  ASSERT_TRUE(store_open(lib));
  EXPECT_EQ(record_count(), kWriters * kPerWriter);
  EXPECT_TRUE(find_title("w0-0"));
  EXPECT_TRUE(find_title("w1-299"));
}

TEST_F(ConcurrentOpeners, NoOpenerSeesAnEntryBeforeItIsWhole) {
  // Whole-entry appends, in two threads, against two threads scanning every record: each
  // record a scan reaches has its title and its whole attachment.
  std::string lib = new_library();
  constexpr int kWriters = 2, kPerWriter = 200;
  std::atomic<bool> done{false};
  std::atomic<int> failures{0}, half_filled{0};
  std::vector<std::thread> threads;
  for (int w = 0; w < kWriters; ++w) {
    threads.emplace_back([&, w] {
      if (!store_open(lib)) ++failures;
      for (int i = 0; i < kPerWriter; ++i) {
        std::string title = "w" + std::to_string(w) + "-" + std::to_string(i);
        if (!append_record({{kFieldTitle, title},
                            {kFieldAttachment, ByteSet(std::string(1300, 'a' + w))},
                            {kFieldCategory, "c"}})
                 .is_ok()) {
          ++failures;
        }
      }
      store_close();
    });
  }
  for (int s = 0; s < 2; ++s) {
    threads.emplace_back([&] {
      while (!done.load()) {
        if (!store_open(lib)) {
          ++failures;
          continue;
        }
        go_first();
        find_record([&] {
          if (read_field(kFieldTitle).text().empty() ||
              read_field(kFieldAttachment).bytes().size() != 1300 ||
              read_field(kFieldCategory).text() != "c") {
            ++half_filled;
          }
          return false;
        });
        store_close();
      }
    });
  }
  for (int w = 0; w < kWriters; ++w) threads[static_cast<size_t>(w)].join();
  done = true;
  for (size_t t = kWriters; t < threads.size(); ++t) threads[t].join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(half_filled.load(), 0);
  ASSERT_TRUE(store_open(lib));
  EXPECT_EQ(record_count(), kWriters * kPerWriter);
}

}  // namespace

// A child started by TwoProcessesAppendingLoseNothing appends its share and ends; otherwise
// this is an ordinary test program.
int main(int argc, char** argv) {
  const char* lib = std::getenv(kChildPathVariable);
  const char* name = std::getenv(kChildNameVariable);
  if (lib != nullptr && name != nullptr) return append_share(lib, name);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
