#include "library/title_index.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "faulty_files.h"
#include "store/source_record.h"
#include "store/store.h"
#include "store_test_support.h"

namespace {

class TitleIndexTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    lib_ = new_library();
    ASSERT_TRUE(store_open(lib_));
  }
  std::string lib_;
};

TEST_F(TitleIndexTest, AnswersAsAScanOfTheWholeLibraryWould) {
  append_titled("title", 1, 20);
  TitleIndex index;
  struct Case {
    std::string title;
    bool held;
  };
  const Case cases[] = {{"title1", true},  {"title20", true},  {"title21", false},
                        {"Title1", false}, {"title1 ", false}, {"", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(index.holds_title(c.title), c.held ? TitleHeld::kYes : TitleHeld::kNo)
        << "\"" << c.title << "\"";
    EXPECT_EQ(find_title(c.title), c.held) << "the scan disagrees on \"" << c.title << "\"";
  }
  EXPECT_EQ(index.records_read(), 20) << "each record is read once, however many questions";
}

TEST_F(TitleIndexTest, SeesEntriesAppendedSinceByAnyOpener) {
  append_titled("old", 1, 3);
  TitleIndex index;
  EXPECT_EQ(TitleHeld::kNo, index.holds_title("mine"));
  ASSERT_TRUE(append_record({{kFieldTitle, std::string("mine")}}));
  EXPECT_EQ(TitleHeld::kYes, index.holds_title("mine")) << "an entry this caller appended";

  // Another opener of the same file: its own thread, its own handles and locks.
  std::thread other([&] {
    ASSERT_TRUE(store_open(lib_));
    append_titled("theirs", 1, 2);
    store_close();
  });
  other.join();
  EXPECT_EQ(TitleHeld::kYes, index.holds_title("theirs2")) << "an entry another opener appended";
  EXPECT_EQ(index.records_read(), 6);
}

TEST_F(TitleIndexTest, ComparesTitlesAsTheStoreHoldsThem) {
  // 标题 holds 256 bytes: a longer title is kept cut, so the full text must still match.
  const std::string long_title = std::string(255, 'a') + "\xD4\xB4\xC2\xEB";  // then "源码"
  ASSERT_TRUE(append_record({{kFieldTitle, long_title}}));
  TitleIndex index;
  EXPECT_EQ(TitleHeld::kYes, index.holds_title(long_title))
      << "the title as given, cut as the store cuts it";
  EXPECT_EQ(TitleHeld::kYes, index.holds_title(long_title.substr(0, 256)));
  EXPECT_EQ(TitleHeld::kYes, index.holds_title(std::string(255, 'a') + "\xD4\xB5"))
      << "a title that differs only past the width is the same title to the store";
  EXPECT_EQ(TitleHeld::kNo, index.holds_title(std::string(255, 'a')));
  index.note_appended(std::string(300, 'b'));
  EXPECT_EQ(TitleHeld::kYes, index.held_so_far(std::string(256, 'b') + "c"))
      << "a title noted as appended, cut as the store cuts it";
}

TEST_F(TitleIndexTest, LeavesTheCursorWhereItWas) {
  append_titled("t", 1, 10);
  ASSERT_TRUE(go_to_record(4));
  TitleIndex index;
  index.catch_up();
  EXPECT_EQ(record_number(), 4);
}

TEST_F(TitleIndexTest, WithoutACurrentStoreHoldsNothing) {
  append_titled("t", 1, 2);
  TitleIndex index;
  EXPECT_EQ(TitleHeld::kYes, index.holds_title("t1"));
  store_close();
  EXPECT_EQ(TitleHeld::kNo, index.holds_title("t1"))
      << "no library is current, so none holds the title";
  EXPECT_EQ(index.records_read(), 0);
  ASSERT_TRUE(store_open(lib_));
  EXPECT_EQ(TitleHeld::kYes, index.holds_title("t2")) << "read again once the library is back";
}

TEST_F(TitleIndexTest, ARecordThatCantBeReadLeavesTheTitlesAfterItUnknown) {
  store_close();
  FaultyFiles files;
  ASSERT_TRUE(store_open(lib_));
  append_titled("t", 1, 50);
  TitleIndex index;
  // Record 30 can't be read: what lies before it is known, what lies from it on isn't.
  files.fail_reads_of(lib_, 620 + 604 * 29 + 10);
  EXPECT_EQ(index.holds_title("t10"), TitleHeld::kYes);
  EXPECT_EQ(index.holds_title("t40"), TitleHeld::kUnknown);
  EXPECT_EQ(index.holds_title("absent"), TitleHeld::kUnknown);
  EXPECT_EQ(index.records_read(), 29);
  EXPECT_EQ(index.unread().record, 30);
  // Read on from there once it can be.
  files.fail_reads_of("", 0);
  EXPECT_EQ(index.holds_title("t40"), TitleHeld::kYes);
  EXPECT_EQ(index.holds_title("absent"), TitleHeld::kNo);
  EXPECT_EQ(index.records_read(), 50);

  // Records appended since a whole read: one of them can't be read.
  append_titled("t", 51, 10);
  files.fail_reads_of(lib_, 620 + 604 * 54 + 10);
  EXPECT_EQ(index.holds_title("t52"), TitleHeld::kYes);
  EXPECT_EQ(index.holds_title("t58"), TitleHeld::kUnknown);
  EXPECT_EQ(index.records_read(), 54);
  // The record count itself can't be read: only titles already read are known.
  files.fail_reads_of(lib_, 16);
  EXPECT_EQ(index.holds_title("t20"), TitleHeld::kYes);
  EXPECT_EQ(index.holds_title("absent"), TitleHeld::kUnknown);
  EXPECT_EQ(index.unread().record, 0);
  files.fail_reads_of("", 0);
  EXPECT_EQ(index.holds_title("t58"), TitleHeld::kYes);
  EXPECT_EQ(index.records_read(), 60);
}

TEST_F(TitleIndexTest, ATitleThatCantBeReadIsNotTakenAsEmpty) {
  // 标题 kept in the companion file: a title that can't be read there reads as empty.
  // Record 3's chain is broken (its first block's length word zero, as a free block's), as
  // another writer may leave it, and mended again.
  store_close();
  const std::string lib = path("long.edb");
  write_file(lib, store_file_bytes({{kFieldTitle, 12, 4, 0}}, 8));
  write_file(path("long.EDT"), companion_bytes());
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 5);
  store_close();
  const int32_t block = get32(read_file(lib), 116 + 72 + 8 * 2 + 4);  // record 3's title
  const std::string sound = read_file(path("long.EDT"));
  std::string broken = sound;
  put32(&broken, static_cast<size_t>(block) * 512 + 8, 0);
  write_file(path("long.EDT"), broken);
  ASSERT_TRUE(store_open(lib));
  TitleIndex index;
  EXPECT_EQ(index.holds_title("t2"), TitleHeld::kYes);
  EXPECT_EQ(index.holds_title(""), TitleHeld::kUnknown) << "record 3 isn't untitled";
  EXPECT_EQ(index.records_read(), 2);
  write_file(path("long.EDT"), sound);
  EXPECT_EQ(index.holds_title("t3"), TitleHeld::kYes);
  EXPECT_EQ(index.holds_title(""), TitleHeld::kNo);
}

}  // namespace
