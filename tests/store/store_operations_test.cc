// The store operations as callers see them: registry, cursor, fields, scans.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "store/empty_library.h"
#include "store_test_support.h"

namespace {

class StoreOperations : public StoreTest {};

// Where record i of an entry library starts.
int64_t record_start(int64_t i) {
  return 116 + 72 * 7 + i * 604;
}

TEST_F(StoreOperations, EmptyStoreHasNoRecordsButRecordNumberOne) {
  ASSERT_TRUE(store_open(new_library()));
  go_first();
  EXPECT_EQ(record_number(), 1);
  EXPECT_EQ(record_count(), 0);
  EXPECT_FALSE(find_record([] { return true; }));
  EXPECT_FALSE(write_field(kFieldTitle, "x"));
  EXPECT_TRUE(go_last());
  EXPECT_EQ(record_number(), 1);
  EXPECT_EQ(read_field(kFieldTitle).text(), "");
}

TEST_F(StoreOperations, WithoutCurrentStoreEverythingFailsQuietly) {
  EXPECT_FALSE(store_open(""));
  EXPECT_FALSE(store_open(path("missing.edb")));
  EXPECT_EQ(record_count(), 0);
  EXPECT_EQ(record_number(), 0);
  EXPECT_FALSE(append_blank_record());
  EXPECT_FALSE(go_last());
  EXPECT_FALSE(go_to_record(1));
  EXPECT_FALSE(write_field(kFieldTitle, "x"));
  EXPECT_FALSE(find_record([] { return true; }));
  EXPECT_EQ(read_field(kFieldTitle).kind(), FieldValue::Kind::kNone);
  store_close();  // nothing happens
}

TEST_F(StoreOperations, CursorMovesClampToTheRecords) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 5);
  struct Case {
    int go_to;
    int number;
  };
  for (Case c : {Case{0, 1}, Case{-3, 1}, Case{1, 1}, Case{3, 3}, Case{5, 5}, Case{10, 5}}) {
    EXPECT_TRUE(go_to_record(c.go_to));
    EXPECT_EQ(record_number(), c.number) << "go_to_record(" << c.go_to << ")";
  }
  go_first();
  EXPECT_EQ(record_number(), 1);
  EXPECT_TRUE(go_last());
  EXPECT_EQ(record_number(), 5);
  EXPECT_EQ(read_field(kFieldTitle).text(), "t5");
}

TEST_F(StoreOperations, AppendGoesToTheEndWhereverTheCursorStands) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 3);
  go_first();
  ASSERT_TRUE(append_blank_record());
  EXPECT_EQ(record_number(), 4);
  EXPECT_EQ(record_count(), 4);
  EXPECT_EQ(read_field(kFieldTitle).text(), "");
  EXPECT_TRUE(read_field(kFieldAttachment).bytes().empty());
  EXPECT_EQ(read_field(kFieldAttachment).kind(), FieldValue::Kind::kBytes);
}

TEST_F(StoreOperations, TextFieldsAreCutOrPaddedToTheirWidth) {
  ASSERT_TRUE(store_open(new_library()));
  ASSERT_TRUE(append_blank_record());
  struct Case {
    const char* field;
    std::string written;
    std::string read;
  };
  const Case cases[] = {
      {kFieldCategory, "abc", "abc"},
      {kFieldCategory, std::string(20, 'x'), std::string(kCategoryWidth, 'x')},
      {kFieldCategory, "ab", "ab"},  // shorter after longer: the rest is zero again
      {kFieldTitle, "数据库", "数据库"},
      {kFieldTitle, std::string(300, 'y'), std::string(kTitleWidth, 'y')},
      {kFieldTitle, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(write_field(c.field, c.written));
    EXPECT_EQ(read_field(c.field).text(), c.read) << c.written;
  }
}

TEST_F(StoreOperations, FieldNamesIgnoreLetterCaseAndTypesMustSuit) {
  std::string lib = path("mixed.edb");
  write_file(lib,
             store_file_bytes({{"Name", 10, 4, 10}, {"Data", 11, 14, 0}, {"Note", 12, 18, 0}}, 22));
  write_file(path("mixed.EDT"), companion_bytes());
  ASSERT_TRUE(store_open(lib));
  ASSERT_TRUE(append_blank_record());
  EXPECT_TRUE(write_field("NAME", "abc"));
  EXPECT_EQ(read_field("name").text(), "abc");
  EXPECT_FALSE(write_field("name", ByteSet("abc", 3)));
  EXPECT_FALSE(write_field("data", "abc"));
  EXPECT_FALSE(write_field("missing", "abc"));
  EXPECT_FALSE(write_field("Nam", "abc"));  // only the start of a field's name
  EXPECT_EQ(read_field("Na").kind(), FieldValue::Kind::kNone);
  EXPECT_TRUE(write_field("data", ByteSet("a\0b", 3)));
  EXPECT_EQ(read_field("Data").bytes(), ByteSet("a\0b", 3));
  std::string long_note(1234, 'n');
  EXPECT_TRUE(write_field("note", long_note));
  EXPECT_EQ(read_field("note").text(), long_note);
  EXPECT_TRUE(write_field("note", std::string("ab\0cd", 5)));
  EXPECT_EQ(read_field("note").text(), "ab");  // a long text reads up to its first zero
}

TEST_F(StoreOperations, SecondOpenOfTheSamePathFailsAndWorkGoesOn) {
  std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 2);
  go_to_record(2);
  EXPECT_FALSE(store_open(lib));
  EXPECT_FALSE(store_open(dir_ + "/CODE.EDB"));  // letter case ignored
  EXPECT_FALSE(store_open(dir_ + "/./Code.edb"));
  EXPECT_EQ(record_number(), 2);  // still the current store, cursor kept
  EXPECT_EQ(record_count(), 2);
  EXPECT_TRUE(find_title("t1"));
  store_close();
  EXPECT_EQ(record_count(), 0);
  EXPECT_TRUE(store_open(lib));
}

TEST_F(StoreOperations, ClosingLeavesNoCurrentStoreEvenWithOthersOpen) {
  ASSERT_TRUE(store_open(new_library("a.edb")));
  append_titled("a", 1, 1);
  ASSERT_TRUE(store_open(new_library("b.edb")));
  store_close();
  EXPECT_EQ(record_count(), 0);
  EXPECT_FALSE(append_blank_record());
  EXPECT_FALSE(store_open(path("a.edb")));  // a stays open, though not current
  store_close_all();
  EXPECT_TRUE(store_open(path("a.edb")));
  EXPECT_EQ(record_count(), 1);
}

TEST_F(StoreOperations, PathWithoutExtensionGetsEdb) {
  new_library("lib.EDB");
  EXPECT_TRUE(store_open(path("lib")));
  store_close();
  EXPECT_TRUE(store_open(path("lib.")));
}

TEST_F(StoreOperations, NextIdBelowOneCountsAsOneWhereNoRecordHoldsIt) {
  std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  const struct {
    int32_t stored, id;
  } cases[] = {{0, 1}, {-7, 2}};  // the second time record 1 holds id 1 already
  for (const auto& c : cases) {
    // Another opener has changed the header meanwhile; the file is shared.
    std::string bytes = read_file(lib);
    put32(&bytes, 20, c.stored);
    write_file(lib, bytes);
    ASSERT_TRUE(append_blank_record());
    bytes = read_file(lib);
    EXPECT_EQ(get32(bytes, static_cast<size_t>(record_start(record_count() - 1))), c.id);
    EXPECT_EQ(get32(bytes, 20), c.id + 1) << c.stored;
  }
}

// Appends a record as a writer does that keeps the last id given at offset 20: the
// record's id is that word + 1, and the word becomes the new id.
void append_keeping_last_id(const std::string& lib) {
  std::string bytes = read_file(lib);
  const int32_t count = get32(bytes, 16), last = get32(bytes, 20);
  std::string record(604, '\0');
  put32(&record, 0, last + 1);
  record.replace(4, 5, "other");
  put32(&bytes, 16, count + 1);
  put32(&bytes, 20, last + 1);
  write_file(lib, bytes + record);
}

std::vector<int32_t> record_ids(const std::string& lib) {
  const std::string bytes = read_file(lib);
  std::vector<int32_t> ids;
  for (int32_t i = 0; i < get32(bytes, 16); ++i) {
    ids.push_back(get32(bytes, static_cast<size_t>(record_start(i))));
  }
  return ids;
}

TEST_F(StoreOperations, AppendsNeverGiveAnIdThatAnotherWritersRecordHolds) {
  // ours: appends by this program; theirs: by a writer that keeps the last id at offset 20.
  struct Case {
    const char* name;
    bool stay_open;  // this program's store stays open while the other writer appends
    std::vector<int32_t> ids;
  };
  const Case cases[] = {
      {"reopened after the other writer", false, {1, 2, 3, 5, 6, 7, 8}},
      {"open while the other writer appends", true, {1, 2, 3, 5, 6, 7, 8}},
  };
  for (const Case& c : cases) {
    const std::string lib = new_library(std::string(c.stay_open ? "open" : "reopened") + ".edb");
    ASSERT_TRUE(store_open(lib)) << c.name;
    append_titled("ours", 1, 3);  // ids 1 2 3, next id 4
    if (!c.stay_open) store_close();
    append_keeping_last_id(lib);  // 5: it takes 4 for the last id given
    append_keeping_last_id(lib);  // 6
    if (!c.stay_open) {
      ASSERT_TRUE(store_open(lib)) << c.name;
    }
    append_titled("ours", 4, 1);
    EXPECT_TRUE(append_record({{kFieldTitle, "whole"}}).is_ok()) << c.name;
    store_close();
    EXPECT_EQ(record_ids(lib), c.ids) << c.name;
    // The header keeps its meaning: the next id to give.
    EXPECT_EQ(get32(read_file(lib), 20), c.ids.back() + 1) << c.name;
  }
}

TEST_F(StoreOperations, AppendRefusedWhenARecordHoldsTheLargestId) {
  const std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 2);
  store_close();
  std::string bytes = read_file(lib);
  put32(&bytes, static_cast<size_t>(record_start(0)), INT32_MAX);
  write_file(lib, bytes);
  ASSERT_TRUE(store_open(lib));
  EXPECT_FALSE(append_blank_record());
  EXPECT_EQ(record_count(), 2);
}

TEST_F(StoreOperations, FindRecordScansFromTheCursor) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 100);
  struct Case {
    int from;
    std::string title;
    bool found;
    int cursor_after;
  };
  const Case cases[] = {
      {1, "t1", true, 1},       {1, "t100", true, 100},   {50, "t10", false, 50},
      {100, "t100", true, 100}, {100, "t99", false, 100}, {37, "t37", true, 37},
      {1, "absent", false, 1},
  };
  for (const Case& c : cases) {
    go_to_record(c.from);
    int visits = 0;
    bool found = find_record([&] {
      ++visits;
      return read_field(kFieldTitle).text() == c.title;
    });
    EXPECT_EQ(found, c.found) << c.title << " from " << c.from;
    EXPECT_EQ(record_number(), c.cursor_after) << c.title << " from " << c.from;
    int expected_visits = c.found ? c.cursor_after - c.from + 1 : 100 - c.from + 1;
    EXPECT_EQ(visits, expected_visits) << c.title << " from " << c.from;
  }
}

TEST_F(StoreOperations, ConditionSeesEachRecordWithTheCursorOnIt) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 40);
  go_first();
  int expected = 1;
  find_record([&] {
    EXPECT_EQ(record_number(), expected);
    EXPECT_EQ(read_field(kFieldTitle).text(), "t" + std::to_string(expected));
    ++expected;
    return false;
  });
  EXPECT_EQ(expected, 41);
}

TEST_F(StoreOperations, ListingLoopVisitsEveryMatchOnce) {
  ASSERT_TRUE(store_open(new_library()));
  for (int i = 1; i <= 60; ++i) {
    ASSERT_TRUE(append_blank_record());
    write_field(kFieldTitle, "t" + std::to_string(i));
    write_field(kFieldCategory, i % 3 == 0 ? "three" : "other");
  }
  std::vector<std::string> listed;
  go_first();
  while (find_record([] { return read_field(kFieldCategory).text() == "three"; })) {
    listed.push_back(read_field(kFieldTitle).text());
    if (record_number() >= record_count()) break;
    go_to_record(record_number() + 1);
  }
  ASSERT_EQ(listed.size(), 20u);
  EXPECT_EQ(listed.front(), "t3");
  EXPECT_EQ(listed.back(), "t60");
}

TEST_F(StoreOperations, WritesDuringAScanAreSeenByTheScan) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 30);
  go_first();
  // The condition on record 2 renames record 20; the scan must see the new title there.
  bool found = find_record([] {
    if (record_number() == 2) {
      go_to_record(20);
      write_field(kFieldTitle, "renamed");
      go_to_record(2);
    }
    return read_field(kFieldTitle).text() == "renamed";
  });
  EXPECT_TRUE(found);
  EXPECT_EQ(record_number(), 20);
}

TEST_F(StoreOperations, ClosingTheStoreInsideAConditionEndsTheScan) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 30);
  go_first();
  int visits = 0;
  EXPECT_FALSE(find_record([&] {
    ++visits;
    if (visits == 3) store_close();
    return false;
  }));
  EXPECT_EQ(visits, 3);
  EXPECT_EQ(record_count(), 0);
}

TEST_F(StoreOperations, NestedScanInsideAConditionKeepsBothBuffers) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 10);
  go_first();
  std::vector<std::string> outer_titles;
  find_record([&] {
    int here = record_number();
    std::string before = read_field(kFieldTitle).text();
    go_first();
    EXPECT_TRUE(find_record([] { return read_field(kFieldTitle).text() == "t7"; }));
    go_to_record(here);
    outer_titles.push_back(read_field(kFieldTitle).text());
    EXPECT_EQ(before, outer_titles.back());
    return false;
  });
  ASSERT_EQ(outer_titles.size(), 10u);
  EXPECT_EQ(outer_titles[9], "t10");
}

TEST_F(StoreOperations, AttachmentFieldRoundTrips) {
  ASSERT_TRUE(store_open(new_library()));
  append_titled("t", 1, 3);
  ByteSet source("e source\0with zero", 18);
  go_to_record(2);
  ASSERT_TRUE(write_field(kFieldAttachment, pack_attachment(source)));
  ASSERT_TRUE(find_title("t2"));
  EXPECT_EQ(unpack_attachment(read_field(kFieldAttachment).bytes()), source);
  go_first();
  ASSERT_TRUE(find_record([] { return !read_field(kFieldAttachment).bytes().empty(); }));
  EXPECT_EQ(record_number(), 2);
}

}  // namespace
