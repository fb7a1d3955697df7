#include "library/title_index.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

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
    EXPECT_EQ(index.holds_title(c.title), c.held) << "\"" << c.title << "\"";
    EXPECT_EQ(find_title(c.title), c.held) << "the scan disagrees on \"" << c.title << "\"";
  }
  EXPECT_EQ(index.records_read(), 20) << "each record is read once, however many questions";
}

TEST_F(TitleIndexTest, SeesEntriesAppendedSinceByAnyOpener) {
  append_titled("old", 1, 3);
  TitleIndex index;
  EXPECT_FALSE(index.holds_title("mine"));
  ASSERT_TRUE(append_record({{kFieldTitle, std::string("mine")}}));
  EXPECT_TRUE(index.holds_title("mine")) << "an entry this caller appended";

  // Another opener of the same file: its own thread, its own handles and locks.
  std::thread other([&] {
    ASSERT_TRUE(store_open(lib_));
    append_titled("theirs", 1, 2);
    store_close();
  });
  other.join();
  EXPECT_TRUE(index.holds_title("theirs2")) << "an entry another opener appended";
  EXPECT_EQ(index.records_read(), 6);
}

TEST_F(TitleIndexTest, ComparesTitlesAsTheStoreHoldsThem) {
  // 标题 holds 256 bytes: a longer title is kept cut, so the full text must still match.
  const std::string long_title = std::string(255, 'a') + "\xD4\xB4\xC2\xEB";  // then "源码"
  ASSERT_TRUE(append_record({{kFieldTitle, long_title}}));
  TitleIndex index;
  EXPECT_TRUE(index.holds_title(long_title)) << "the title as given, cut as the store cuts it";
  EXPECT_TRUE(index.holds_title(long_title.substr(0, 256)));
  EXPECT_TRUE(index.holds_title(std::string(255, 'a') + "\xD4\xB5"))
      << "a title that differs only past the width is the same title to the store";
  EXPECT_FALSE(index.holds_title(std::string(255, 'a')));
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
  EXPECT_TRUE(index.holds_title("t1"));
  store_close();
  EXPECT_FALSE(index.holds_title("t1")) << "no library is current, so none holds the title";
  EXPECT_EQ(index.records_read(), 0);
  ASSERT_TRUE(store_open(lib_));
  EXPECT_TRUE(index.holds_title("t2")) << "read again once the library is back";
}

}  // namespace
