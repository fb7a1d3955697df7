// Writes that fail (disk full, a short write, an I/O error) at each write call of an
// append, a field write and the chain writes: the operation reports failure, the store
// stays sound and usable, and no byte lock stays behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "chain_scenarios.h"
#include "faulty_files.h"
#include "store/store_format.h"
#include "store_test_support.h"

namespace {

using ::testing::IsEmpty;
using Fault = FaultyFiles::Fault;

class StoreFaults : public StoreTest {};

TEST_F(StoreFaults, FailedWriteLeavesTheStoreSoundUsableAndUnlocked) {
  const std::string start = new_library("start.edb");
  make_scenario_library(start);
  const std::string lib = path("t.edb");
  for (const ChainScenario& scenario : chain_scenarios()) {
    for (Fault fault : {Fault::kDiskFull, Fault::kShortWrite, Fault::kIoError}) {
      for (int call = 1;; ++call) {
        ASSERT_LT(call, 40) << scenario.name << " never ends";
        const std::string where = std::string(scenario.name) + ", " + fault_name(fault) +
                                  " at write " + std::to_string(call);
        copy_library(start, lib);
        FaultyFiles files;
        ASSERT_TRUE(store_open(lib)) << where;
        files.fail_at(call, fault);
        const bool reported = scenario.run();
        if (!files.fired()) {
          // Fewer write calls than `call`: the operation ran whole.
          EXPECT_TRUE(reported) << where;
          EXPECT_THAT(old_or_new(scenario), IsEmpty()) << where;
          store_close();
          break;
        }
        EXPECT_FALSE(reported) << where;
        // A lock kept on the failure path would shut every other opener out for good.
        EXPECT_TRUE(file_unlocked(lib)) << where;
        EXPECT_TRUE(file_unlocked(companion_of(lib))) << where;
        EXPECT_THAT(unsound_findings(lib), IsEmpty()) << where;
        // A short write may leave part of a fixed-width text; a chain value changes over
        // whole or not at all.
        EXPECT_THAT(old_or_new(scenario, fault == Fault::kShortWrite), IsEmpty()) << where;

        // The same open store goes on working once the disk does.
        files.fail_at(0, Fault::kNone);
        EXPECT_TRUE(append_record({{kFieldTitle, "after"},
                                   {kFieldAttachment, ByteSet(std::string(900, 'z'))}})
                        .is_ok())
            << where;
        EXPECT_TRUE(go_to_record(1) &&
                    write_field(kFieldAttachment, ByteSet(std::string(800, 'y'))))
            << where;
        store_close();
        EXPECT_THAT(unsound_findings(lib), IsEmpty()) << where;
        ASSERT_TRUE(store_open(lib)) << where;
        EXPECT_TRUE(find_title("after")) << where;
        EXPECT_EQ(read_field(kFieldAttachment).bytes().size(), 900u) << where;
        store_close();
      }
    }
  }
}

TEST_F(StoreFaults, FailedAppendRaisesNoCount) {
  // The record goes to the file before the count that makes it visible: a failure at
  // either write leaves the count as it was, and scans read every record.
  const std::string lib = new_library();
  FaultyFiles files;
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 3);
  for (int call : {1, 2}) {
    files.fail_at(call, Fault::kIoError);
    EXPECT_FALSE(append_blank_record()) << call;
    EXPECT_EQ(record_count(), 3) << call;
    EXPECT_TRUE(find_title("t3")) << call;
  }
  files.fail_at(0, Fault::kNone);
  ASSERT_TRUE(append_blank_record());
  EXPECT_EQ(record_count(), 4);
  EXPECT_EQ(read_field(kFieldTitle).text(), "");
}

// Where record n (1-based) of the entry library lies, and its attachment's reference.
constexpr int64_t kDataStart = 116 + 72 * 7, kRecordSize = 604, kAttachmentAt = 600;
int64_t record_start(int n) {
  return kDataStart + kRecordSize * (n - 1);
}

TEST_F(StoreFaults, AScanStopsAtTheRecordItCantReadHavingExaminedEveryOneBefore) {
  // The scan reads 16 records at once, then 32, then the 52 left: a record that can't be
  // read fails the piece that holds it, which is read again record by record.
  const std::string lib = new_library();
  FaultyFiles files;
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 100);
  struct Case {
    int bad;  // the record whose bytes can't be read; 0: the header's record count
    int from;
    const char* wanted;
    int visits;
    int stop;  // the record where the scan stopped; -1: it didn't
  };
  const Case cases[] = {
      {1, 1, "absent", 0, 1},      {17, 1, "absent", 16, 17}, {40, 1, "absent", 39, 40},
      {100, 1, "absent", 99, 100}, {40, 35, "absent", 5, 40}, {40, 40, "absent", 0, 40},
      {40, 41, "absent", 60, -1},  {40, 1, "t30", 30, -1},    {40, 1, "t50", 39, 40},
      {0, 1, "t1", 0, 0},
  };
  for (const Case& c : cases) {
    const std::string where = "record " + std::to_string(c.bad) + " unreadable, from " +
                              std::to_string(c.from) + ", for " + c.wanted;
    files.fail_reads_of(lib, c.bad == 0 ? 16 : record_start(c.bad) + 10);
    go_to_record(c.from);
    std::vector<int> visited;
    const FindResult result = find_record_checked([&] {
      visited.push_back(record_number());
      return read_field(kFieldTitle).text() == c.wanted;
    });
    files.fail_reads_of("", 0);
    ASSERT_EQ(static_cast<int>(visited.size()), c.visits) << where;
    for (size_t i = 0; i < visited.size(); ++i) {
      ASSERT_EQ(visited[i], c.from + static_cast<int>(i)) << where << ": each record once";
    }
    EXPECT_EQ(result.stop.stopped(), c.stop >= 0) << where << ": " << result.stop.why.text();
    if (c.stop >= 0) {
      EXPECT_EQ(result.stop.record, c.stop) << where;
    }
    const bool found = c.stop < 0 && std::string(c.wanted) != "absent";
    EXPECT_EQ(result.found, found) << where;
    EXPECT_EQ(record_number(), found ? c.from + c.visits - 1 : c.from) << where;
  }
}

TEST_F(StoreFaults, AValueTheConditionCantReadStopsTheScanThere) {
  // An attachment that can't be read reads as empty; the condition's answer on it stands
  // for nothing, so "found" here would be a lie. Record 3's chain is broken (its first
  // block's length word zero, as a free block's), as another writer may leave it.
  const std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  for (int i = 1; i <= 5; ++i) {
    ASSERT_TRUE(append_record({{kFieldTitle, "t" + std::to_string(i)},
                               {kFieldAttachment, ByteSet("a" + std::to_string(i))}}));
  }
  store_close();
  const int32_t block = get32(read_file(lib), static_cast<size_t>(record_start(3) + kAttachmentAt));
  std::string companion = read_file(companion_of(lib));
  put32(&companion, static_cast<size_t>(block) * 512 + 8, 0);
  write_file(companion_of(lib), companion);
  ASSERT_TRUE(store_open(lib));
  int visits = 0;
  const FindResult result = find_record_checked([&] {
    ++visits;
    return read_field(kFieldAttachment).bytes().empty();
  });
  EXPECT_FALSE(result.found);
  EXPECT_EQ(result.stop.record, 3) << result.stop.why.text();
  EXPECT_EQ(visits, 3);
  EXPECT_EQ(record_number(), 1);
}

TEST_F(StoreFaults, TextLookUpInPlaceAgreesWithReadingTheValue) {
  // The look-up compares a title where the scan read it; it must find what a condition
  // reading the value finds, stop where that stops, and hand every record's text alike.
  struct Shape {
    const char* name;
    TestField title;
    int32_t record_size;
  };
  const Shape shapes[] = {
      {"text of width 8", {"T", kTypeText, 4, 8}, 12},
      {"long text in the companion", {"T", kTypeLongText, 4, 0}, 8},
      {"text over the id, past the record", {"T", kTypeText, 0, 8}, 6},
      {"no such field", {"other", kTypeText, 4, 8}, 12},
  };
  const std::string stored[] = {"ab",      "",           "abcdefgh", std::string("ab\0cd", 5),
                                "abcdefg", "abcdefghij", "abc",      std::string(700, 'L')};
  const std::string wanted[] = {"",
                                "ab",
                                "abc",
                                "abcd",
                                "a",
                                "abcdefgh",
                                "abcdefghXY",
                                std::string("ab\0zz", 5),
                                std::string(700, 'L'),
                                "zz"};
  const std::string lib = path("t.edb");
  FaultyFiles files;
  for (const Shape& shape : shapes) {
    write_file(lib, store_file_bytes({shape.title}, shape.record_size));
    write_file(companion_of(lib), companion_bytes());
    ASSERT_TRUE(store_open(lib));
    for (const std::string& title : stored) {
      ASSERT_TRUE(append_blank_record());
      write_field("T", title);
    }
    // Record 6's bytes can't be read: both stop there, or find what lies before it.
    for (const int bad : {0, 6}) {
      files.fail_reads_of(bad == 0 ? "" : lib, 116 + 72 + shape.record_size * (bad - 1) + 1);
      for (const std::string& text : wanted) {
        for (const int from : {1, 3}) {
          const std::string where = std::string(shape.name) + ", record " + std::to_string(bad) +
                                    " unreadable, \"" + text.substr(0, 12) + "\" from " +
                                    std::to_string(from);
          const std::string held = stored_text_of("T", text);
          go_to_record(from);
          const FindResult by_value =
              find_record_checked([&] { return read_field("T").text() == held; });
          const int value_cursor = record_number();
          go_to_record(from);
          const FindResult in_place = find_text_checked("T", text);
          EXPECT_EQ(in_place.found, by_value.found) << where;
          EXPECT_EQ(in_place.stop.record, by_value.stop.record) << where;
          EXPECT_EQ(record_number(), value_cursor) << where;
        }
      }
      std::vector<std::string> texts, seen;
      go_first();
      const FindResult by_value = find_record_checked([&] {
        texts.push_back(read_field("T").text());
        return false;
      });
      go_first();
      const FindResult in_place = find_text_checked("T", [&](std::string_view text) {
        seen.emplace_back(text);
        return false;
      });
      EXPECT_EQ(seen, texts) << shape.name << ", record " << bad << " unreadable";
      EXPECT_EQ(in_place.stop.record, by_value.stop.record) << shape.name;
    }
    files.fail_reads_of("", 0);
    store_close();
  }
}

TEST_F(StoreFaults, OpeningSaysWhyItFailed) {
  struct Case {
    const char* name;
    std::string path;
    Status::Code code;
  };
  write_file(path("short.edb"), "WEDB");
  write_file(path("alone.edb"), store_file_bytes({{"a", 11, 4, 0}}, 8));
  std::filesystem::create_directory(path("folder.edb"));
  const Case cases[] = {
      {"missing file", path("missing.edb"), Status::Code::kNotFound},
      {"malformed file", path("short.edb"), Status::Code::kCorrupt},
      {"missing companion", path("alone.edb"), Status::Code::kNotFound},
      {"a folder", path("folder.edb"), Status::Code::kIoError},
      {"empty path", "", Status::Code::kInvalid},
  };
  for (const Case& c : cases) {
    Status status = store_open_status(c.path);
    EXPECT_EQ(status.code(), c.code) << c.name << ": " << status.text();
    EXPECT_FALSE(store_open(c.path)) << c.name;
  }
  // The missing companion is named by the path that was tried.
  EXPECT_EQ(store_open_status(path("alone.edb")).what(), full_path_name(path("alone.EDT")));
  ASSERT_TRUE(store_open(new_library()));
  EXPECT_EQ(store_open_status(path("Code.edb")).code(), Status::Code::kInvalid);  // open already
}

}  // namespace
