// Byte locks: two opens conflict (also in one process), one store's own locks nest, and a
// lock held by another opener is waited for a bounded time.
#include <gtest/gtest.h>

#include <thread>

#include "store/lock_table.h"
#include "store/platform_file.h"
#include "store_test_support.h"

namespace {

class Locks : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    write_file(path("f"), std::string(4096, '\0'));
    ASSERT_TRUE(open_existing_file(path("f"), FileAccess::kReadWrite, &a_).is_ok());
    ASSERT_TRUE(open_existing_file(path("f"), FileAccess::kReadWrite, &b_).is_ok());
  }
  std::unique_ptr<PlatformFile> a_, b_;
};

TEST_F(Locks, TwoOpensInOneProcessConflict) {
  ASSERT_TRUE(a_->try_lock(100, 1));
  EXPECT_FALSE(b_->try_lock(100, 1));
  EXPECT_FALSE(b_->try_lock(50, 100));
  EXPECT_TRUE(b_->try_lock(101, 1));
  a_->unlock(100, 1);
  EXPECT_TRUE(b_->try_lock(100, 1));
}

TEST_F(Locks, OwnLocksNestAndCount) {
  LockTable table(a_.get());
  struct Step {
    bool lock;  // false: unlock
    int64_t offset, length;
    bool other_can_lock_100;  // afterwards, may the other open lock byte 100?
  };
  const Step steps[] = {
      {true, 100, 1, false},   {true, 100, 1, false},  // the same byte twice
      {false, 100, 1, false},  {false, 100, 1, true},
      {true, 0, 1000, false},  {true, 100, 1, false},  // a byte inside a held range
      {false, 0, 1000, false},                         // the byte still holds the range
      {false, 100, 1, true},
  };
  for (const Step& s : steps) {
    if (s.lock) {
      EXPECT_TRUE(table.lock(s.offset, s.length));
    } else {
      table.unlock(s.offset, s.length);
    }
    bool other = b_->try_lock(100, 1);
    if (other) b_->unlock(100, 1);
    EXPECT_EQ(other, s.other_can_lock_100) << s.offset << "+" << s.length;
  }
  EXPECT_FALSE(table.holds_any());
}

TEST_F(Locks, PartialOverlapWithOwnRangeIsRefused) {
  LockTable table(a_.get());
  ASSERT_TRUE(table.lock(100, 10));
  EXPECT_FALSE(table.lock(105, 10));
  table.unlock(100, 10);
}

TEST_F(Locks, WriteWaitsForAnotherOpenersLock) {
  std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 1);
  std::unique_ptr<PlatformFile> other;
  ASSERT_TRUE(open_existing_file(lib, FileAccess::kReadWrite, &other).is_ok());
  const int64_t record = 116 + 72 * 7;
  ASSERT_TRUE(other->try_lock(record, 1));
  std::thread release([&] {
    sleep_ms(300);
    other->unlock(record, 1);
  });
  EXPECT_TRUE(write_field(kFieldTitle, "waited"));  // would fail at once without waiting
  release.join();
  EXPECT_EQ(read_field(kFieldTitle).text(), "waited");

  ASSERT_TRUE(other->try_lock(record, 1));  // held beyond the bound: the write gives up
  int64_t start = monotonic_ms();
  EXPECT_FALSE(write_field(kFieldTitle, "lost"));
  EXPECT_GE(monotonic_ms() - start, LockTable::kLockWaitMs - 50);
  other->unlock(record, 1);
  EXPECT_EQ(read_field(kFieldTitle).text(), "waited");
}

TEST_F(Locks, AScanWaitsForAnotherOpenersLockOnARecord) {
  std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 40);
  std::unique_ptr<PlatformFile> other;
  ASSERT_TRUE(open_existing_file(lib, FileAccess::kReadWrite, &other).is_ok());
  const int64_t record = 116 + 72 * 7 + 604 * 19;  // record 20, inside the scan's second piece
  ASSERT_TRUE(other->try_lock(record, 1));
  std::thread release([&] {
    sleep_ms(300);
    other->unlock(record, 1);
  });
  go_first();
  const FindResult result =
      find_record_checked([] { return read_field(kFieldTitle).text() == "t40"; });
  release.join();
  EXPECT_TRUE(result.found) << "gave up at record " << result.stop.record << ": "
                            << result.stop.why.text();
  EXPECT_EQ(record_number(), 40);
}

}  // namespace
