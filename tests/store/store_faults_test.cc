// Writes that fail (disk full, a short write, an I/O error) at each write call of an
// append, a field write and the chain writes: the operation reports failure, the store
// stays sound and usable, and no byte lock stays behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "chain_scenarios.h"
#include "faulty_files.h"
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
