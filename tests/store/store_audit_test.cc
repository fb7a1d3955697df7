// The walk of every chain and of the free chain: what it finds in hand-made companions.
#include <gtest/gtest.h>

#include "chain_scenarios.h"
#include "store/store_audit.h"
#include "store/store_file.h"
#include "store_test_support.h"

namespace {

class StoreAuditTest : public StoreTest {
 protected:
  // A store of two records with one byte-set field "d", references r1 and r2.
  StoreAudit audit(const std::string& companion, int32_t r1, int32_t r2) {
    std::string bytes = store_file_bytes({{"d", 11, 4, 0}}, 8, 2, 3);
    std::string records(16, '\0');
    put32(&records, 0, 1);
    put32(&records, 4, r1);
    put32(&records, 8, 2);
    put32(&records, 12, r2);
    write_file(path("t.edb"), bytes + records);
    write_file(path("t.EDT"), companion);
    std::unique_ptr<StoreFile> store;
    StoreAudit result;
    Status status = StoreFile::open(path("t.edb"), FileAccess::kReadOnly, &store);
    if (status) status = audit_store(store.get(), &result);
    EXPECT_TRUE(status.is_ok()) << status.text();
    return result;
  }
};

// Block n of a hand-made companion: previous, next, length.
std::string block(int32_t previous, int32_t next, int32_t length) {
  std::string b(512, '\0');
  put32(&b, 0, previous);
  put32(&b, 4, next);
  put32(&b, 8, length);
  return b;
}

using Kind = AuditFinding::Kind;

TEST_F(StoreAuditTest, FindsWhatIsWrongWithTheChains) {
  struct Case {
    const char* name;
    std::string companion;
    int32_t r1, r2;
    Kind kind;
  };
  const Case cases[] = {
      {"value loops", companion_bytes(3) + block(0, 2, 10) + block(1, 1, 10), 1, 0, Kind::kLoop},
      {"value leaves the file", companion_bytes(2) + block(0, 9, 10), 1, 0, Kind::kPastEnd},
      {"reference past the end", companion_bytes(2) + block(0, 0, 0), 5, 0, Kind::kPastEnd},
      {"two values share a block", companion_bytes(2) + block(0, 0, 10), 1, 1, Kind::kReachedTwice},
      {"value block on the free chain", companion_bytes(2, 1, 1) + block(0, 0, 10), 1, 0,
       Kind::kReachedTwice},
      {"value holds a block of the free chain", companion_bytes(2, 1, 1) + block(0, 0, 0), 0, 1,
       Kind::kBadBlock},
      {"value holds a free block", companion_bytes(2) + block(0, 0, 0), 1, 0, Kind::kBadBlock},
      {"block longer than 500", companion_bytes(2) + block(0, 0, 501), 1, 0, Kind::kBadBlock},
      {"free chain loops", companion_bytes(3, 2, 1) + block(2, 2, 0) + block(1, 1, 0), 0, 0,
       Kind::kLoop},
      {"free chain into a block in use",
       companion_bytes(3, 2, 1) + block(0, 2, 0) + block(1, 0, 40), 2, 0, Kind::kReachedTwice},
      {"lost block", companion_bytes(3) + block(0, 0, 10) + block(0, 0, 0), 1, 0, Kind::kLeaked},
      {"free count differs", companion_bytes(3, 2, 2) + block(0, 0, 10) + block(0, 0, 0), 1, 0,
       Kind::kFreeCount},
  };
  for (const Case& c : cases) {
    StoreAudit found = audit(c.companion, c.r1, c.r2);
    ASSERT_FALSE(found.findings.empty()) << c.name;
    EXPECT_EQ(found.findings[0].kind, c.kind) << c.name << ": " << found.findings[0].text;
  }
}

TEST_F(StoreAuditTest, SoundLibraryHasNoFindingsAndEveryBlockCounted) {
  const std::string lib = new_library();
  make_scenario_library(lib);
  std::unique_ptr<StoreFile> store;
  ASSERT_TRUE(StoreFile::open(lib, FileAccess::kReadOnly, &store).is_ok());
  StoreAudit found;
  ASSERT_TRUE(audit_store(store.get(), &found).is_ok());
  EXPECT_TRUE(found.clean()) << (found.clean() ? "" : found.findings[0].text);
  EXPECT_EQ(found.records, 5);
  EXPECT_EQ(found.blocks, 12);
  EXPECT_EQ(found.value_blocks, 10);
  EXPECT_EQ(found.free_chain_blocks, 1);
  EXPECT_EQ(found.leaked_blocks, 0);
}

TEST_F(StoreAuditTest, UntidyFreeChainIsNoFinding) {
  // Another writer's free blocks keep their length words: a last block of 500 bytes, then
  // an empty one. Only what no chain reaches is lost.
  StoreAudit found = audit(companion_bytes(5, 2, 2) + block(0, 0, 10) + block(0, 3, 500) +
                               block(2, 0, 0) + block(0, 0, 0),
                           1, 0);
  ASSERT_EQ(found.findings.size(), 1u);
  EXPECT_EQ(found.findings[0].kind, Kind::kLeaked) << found.findings[0].text;
  EXPECT_EQ(found.free_chain_blocks, 2);
  EXPECT_EQ(found.leaked_blocks, 1);
}

TEST_F(StoreAuditTest, FindingNamesTheRecordAndTheField) {
  StoreAudit found = audit(companion_bytes(2) + block(0, 0, 10), 1, 1);
  ASSERT_EQ(found.findings.size(), 1u);
  EXPECT_EQ(found.findings[0].text, "record 2 d: block 1 is also reached from record 1 d");
}

}  // namespace
