// Chains of 512-byte blocks in the companion file: reuse, free chain, trimming, and
// chains a hostile file may hold.
#include <gtest/gtest.h>

#include "store/store_file.h"
#include "store_test_support.h"

namespace {

class CompanionChain : public StoreTest {
 protected:
  // A store with one byte-set field "d" and n blank records.
  void open_store(int records, const std::string& companion = companion_bytes()) {
    write_file(path("t.edb"), store_file_bytes({{"d", 11, 4, 0}}, 8));
    write_file(path("t.EDT"), companion);
    ASSERT_TRUE(store_open(path("t.edb")));
    for (int i = 0; i < records; ++i) ASSERT_TRUE(append_blank_record());
  }
  int32_t reference(int record) {
    return get32(read_file(path("t.edb")), 116 + 72 + 8 * static_cast<size_t>(record - 1) + 4);
  }
  int32_t companion_word(size_t offset) { return get32(read_file(path("t.EDT")), offset); }
  int32_t block_word(int block, int word) {
    return companion_word(static_cast<size_t>(block) * 512 + 4 * static_cast<size_t>(word));
  }
  bool write(int record, const std::string& data) {
    go_to_record(record);
    return write_field("d", ByteSet(data));
  }
  std::string read(int record) {
    go_to_record(record);
    return read_field("d").bytes().str();
  }
};

std::string data_of(size_t n, char seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i % 23);
  return s;
}

TEST_F(CompanionChain, ValueTakesBlocksOfFiveHundredBytes) {
  struct Case {
    size_t length;
    int blocks;
  };
  for (Case c : {Case{1, 1}, Case{500, 1}, Case{501, 2}, Case{1200, 3}, Case{0, 0}}) {
    open_store(1);
    std::string data = data_of(c.length, 'a');
    ASSERT_TRUE(write(1, data));
    EXPECT_EQ(read(1), data);
    EXPECT_EQ(reference(1), c.blocks == 0 ? 0 : 1) << c.length;
    EXPECT_EQ(companion_word(16), 1 + c.blocks) << c.length;
    EXPECT_EQ(file_size(path("t.EDT")), 512 * (1 + c.blocks)) << c.length;
    EXPECT_EQ(block_word(c.blocks, 2),
              c.blocks == 0 ? 0 : static_cast<int>(c.length - 500 * (c.blocks - 1)));
    store_close();
  }
}

TEST_F(CompanionChain, RewriteKeepsTheFirstBlockAndWritesTheRestWhereNothingReaches) {
  // The value changes over when its first block is rewritten, pointing at blocks written
  // before; the old blocks are freed after. Rewrites take turns between two sets of
  // blocks, so the file stays within twice the value.
  open_store(1);
  ASSERT_TRUE(write(1, data_of(1200, 'a')));  // 1 2 3
  ASSERT_TRUE(write(1, data_of(1200, 'b')));  // 1 4 5; 2 3 freed
  EXPECT_EQ(reference(1), 1);
  EXPECT_EQ(block_word(1, 1), 4);
  EXPECT_EQ(block_word(4, 1), 5);
  EXPECT_EQ(companion_word(24), 2);  // first free
  EXPECT_EQ(companion_word(20), 2);
  EXPECT_EQ(block_word(2, 1), 3);
  EXPECT_EQ(block_word(3, 2), 0);
  ASSERT_TRUE(write(1, data_of(1200, 'c')));  // 1 2 3; 4 5 freed, and cut as the last blocks
  EXPECT_EQ(block_word(1, 1), 2);
  EXPECT_EQ(companion_word(16), 4);
  EXPECT_EQ(companion_word(20), 0);
  EXPECT_EQ(file_size(path("t.EDT")), 4 * 512);
  for (char seed = 'd'; seed < 'k'; ++seed) {
    ASSERT_TRUE(write(1, data_of(1200, seed)));
    EXPECT_LE(companion_word(16), 6);
  }
  EXPECT_EQ(read(1), data_of(1200, 'j'));
}

TEST_F(CompanionChain, GrowingTakesFreeBlocksThenNewOnes) {
  open_store(2);
  ASSERT_TRUE(write(1, data_of(1200, 'a')));  // 1 2 3
  ASSERT_TRUE(write(2, data_of(100, 'b')));   // 4
  ASSERT_TRUE(write(1, data_of(100, 'c')));   // 1; 2 3 freed
  ASSERT_TRUE(write(2, data_of(1600, 'd')));  // 4 2 3 5
  EXPECT_EQ(reference(2), 4);
  EXPECT_EQ(block_word(4, 1), 2);
  EXPECT_EQ(block_word(2, 1), 3);
  EXPECT_EQ(block_word(3, 1), 5);
  EXPECT_EQ(block_word(5, 0), 3);
  EXPECT_EQ(companion_word(16), 6);
  EXPECT_EQ(companion_word(20), 0);
  EXPECT_EQ(companion_word(24), 0);
  EXPECT_EQ(read(2), data_of(1600, 'd'));
}

TEST_F(CompanionChain, ShorterRewriteKeepsFirstBlockAndCutsTheTail) {
  open_store(1);
  ASSERT_TRUE(write(1, data_of(1200, 'a')));
  EXPECT_EQ(block_word(1, 2), 500);
  EXPECT_EQ(block_word(3, 2), 200);
  EXPECT_EQ(block_word(3, 0), 2);  // previous
  ASSERT_TRUE(write(1, data_of(300, 'b')));
  EXPECT_EQ(reference(1), 1);
  EXPECT_EQ(block_word(1, 1), 0);  // next
  EXPECT_EQ(block_word(1, 2), 300);
  EXPECT_EQ(companion_word(16), 2);
  EXPECT_EQ(file_size(path("t.EDT")), 1024);
  EXPECT_EQ(read(1), data_of(300, 'b'));
}

TEST_F(CompanionChain, FreedBlocksInsideTheFileAreReusedFirst) {
  open_store(3);
  ASSERT_TRUE(write(1, data_of(1200, 'a')));  // blocks 1 2 3
  ASSERT_TRUE(write(2, data_of(600, 'b')));   // blocks 4 5
  ASSERT_TRUE(write(1, data_of(300, 'c')));   // frees 2 3
  EXPECT_EQ(companion_word(20), 2);           // free count
  EXPECT_EQ(companion_word(24), 2);           // first free
  EXPECT_EQ(block_word(2, 2), 0);
  EXPECT_EQ(block_word(2, 1), 3);
  EXPECT_EQ(file_size(path("t.EDT")), 6 * 512);
  ASSERT_TRUE(write(3, data_of(1400, 'd')));  // takes 2, 3, then a new block 6
  EXPECT_EQ(reference(3), 2);
  EXPECT_EQ(companion_word(20), 0);
  EXPECT_EQ(companion_word(24), 0);
  EXPECT_EQ(companion_word(16), 7);
  EXPECT_EQ(read(1), data_of(300, 'c'));
  EXPECT_EQ(read(2), data_of(600, 'b'));
  EXPECT_EQ(read(3), data_of(1400, 'd'));
}

TEST_F(CompanionChain, EmptyValueFreesTheWholeChain) {
  open_store(2);
  ASSERT_TRUE(write(1, data_of(700, 'a')));  // 1 2
  ASSERT_TRUE(write(2, data_of(100, 'b')));  // 3
  ASSERT_TRUE(write(1, ""));
  EXPECT_EQ(reference(1), 0);
  EXPECT_EQ(companion_word(20), 2);
  EXPECT_EQ(companion_word(24), 1);
  EXPECT_TRUE(read(1).empty());
  ASSERT_TRUE(write(2, ""));  // block 3 and then the free 2 and 1 go: the file is cut
  EXPECT_EQ(companion_word(16), 1);
  EXPECT_EQ(companion_word(20), 0);
  EXPECT_EQ(companion_word(24), 0);
  EXPECT_EQ(file_size(path("t.EDT")), 512);
}

// Block n of a hand-made companion: previous, next, length, data.
std::string block(int32_t previous, int32_t next, int32_t length, char fill = 'z') {
  std::string b(512, '\0');
  put32(&b, 0, previous);
  put32(&b, 4, next);
  put32(&b, 8, length);
  if (length > 0 && length <= 500) b.replace(12, static_cast<size_t>(length), length, fill);
  return b;
}

struct HostileChain {
  const char* name;
  std::string companion;
  int32_t reference;
};

TEST_F(CompanionChain, HostileChainsReadEmptyAndCanBeOverwritten) {
  const HostileChain cases[] = {
      {"loops on itself", companion_bytes(2) + block(0, 1, 10), 1},
      {"loops over two", companion_bytes(3) + block(0, 2, 10) + block(1, 1, 10), 1},
      {"next past the end", companion_bytes(2) + block(0, 9, 10), 1},
      {"reference past the end", companion_bytes(2) + block(0, 0, 10), 77},
      {"negative reference", companion_bytes(2) + block(0, 0, 10), -5},
      {"length over 500", companion_bytes(2) + block(0, 0, 501), 1},
      {"negative length", companion_bytes(2) + block(0, 0, -1), 1},
      // Blocks a chain reads in one call are each checked as the chain reaches them.
      {"free block inside a run",
       companion_bytes(4) + block(0, 2, 500) + block(1, 3, 0) + block(2, 0, 10), 1},
      {"loops back inside a run",
       companion_bytes(4) + block(0, 2, 500) + block(1, 3, 500) + block(2, 1, 10), 1},
  };
  for (const HostileChain& c : cases) {
    open_store(1, c.companion);
    std::string bytes = read_file(path("t.edb"));
    put32(&bytes, 116 + 72 + 4, c.reference);
    write_file(path("t.edb"), bytes);
    EXPECT_TRUE(read(1).empty()) << c.name;
    EXPECT_TRUE(write(1, data_of(1100, 'q'))) << c.name;
    EXPECT_EQ(read(1), data_of(1100, 'q')) << c.name;
    store_close();
  }
}

TEST_F(CompanionChain, ChainsReadInRunsFollowEveryLink) {
  struct Case {
    const char* name;
    std::string companion;
    int32_t reference;
    std::string value;
  };
  const Case cases[] = {
      {"linked out of file order",
       companion_bytes(4) + block(0, 3, 500, 'A') + block(3, 0, 10, 'C') + block(1, 2, 500, 'B'), 1,
       std::string(500, 'A') + std::string(500, 'B') + std::string(10, 'C')},
      {"ends beside another value",
       companion_bytes(4) + block(0, 2, 500, 'A') + block(1, 0, 10, 'B') + block(0, 0, 10, 'X'), 1,
       std::string(500, 'A') + std::string(10, 'B')},
      {"turns back to an earlier block",
       companion_bytes(4) + block(3, 2, 500, 'B') + block(1, 0, 7, 'C') + block(0, 1, 500, 'A'), 3,
       std::string(500, 'A') + std::string(500, 'B') + std::string(7, 'C')},
      {"runs to the file's last block",
       companion_bytes(4) + block(0, 0, 5, 'X') + block(0, 3, 500, 'A') + block(2, 0, 1, 'B'), 2,
       std::string(500, 'A') + "B"},
  };
  for (const Case& c : cases) {
    open_store(1, c.companion);
    std::string bytes = read_file(path("t.edb"));
    put32(&bytes, 116 + 72 + 4, c.reference);
    write_file(path("t.edb"), bytes);
    EXPECT_EQ(read(1), c.value) << c.name;
    store_close();
  }
}

TEST_F(CompanionChain, ChainsOfEverySizeReadWholeWhateverWasReadBefore) {
  // Each read takes about as many blocks first as the chain before it: a long chain, then
  // a short one beside the next value, then the next value, then one past the file's end.
  open_store(4);
  const size_t lengths[] = {30000, 600, 20000, 1};
  for (int r = 1; r <= 4; ++r)
    ASSERT_TRUE(write(r, data_of(lengths[r - 1], static_cast<char>('a' + r))));
  for (int r : {1, 2, 3, 4, 1, 4, 2}) {
    EXPECT_EQ(read(r), data_of(lengths[r - 1], static_cast<char>('a' + r))) << r;
  }
}

TEST_F(CompanionChain, ChainReadsSeeBlocksAnotherOpenerAddedSince) {
  open_store(1);
  ASSERT_TRUE(write(1, data_of(700, 'a')));
  store_close();
  std::unique_ptr<StoreFile> reader;
  ASSERT_TRUE(StoreFile::open(path("t.edb"), FileAccess::kReadOnly, &reader).is_ok());
  const FieldInfo& field = reader->fields()[0];
  FieldValue value;
  ASSERT_TRUE(reader->read_field(0, field, &value).is_ok());
  // Another opener appends a value in blocks the reader has never seen the file hold.
  ASSERT_TRUE(store_open(path("t.edb")));
  ASSERT_TRUE(append_blank_record());
  ASSERT_TRUE(write_field("d", ByteSet(data_of(3000, 'b'))));
  store_close();
  Status read = reader->read_field(1, field, &value);
  EXPECT_TRUE(read.is_ok()) << read.text();
  EXPECT_EQ(value.bytes().str(), data_of(3000, 'b'));
}

TEST_F(CompanionChain, ChainReadsSeeTheFileAnotherOpenerCutSince) {
  // The reader has read the value at the file's end; another opener frees it, which cuts
  // the file. A reference to where it lay (a hostile or stale one) leads out of the file
  // now: nothing of the old bytes may be read back.
  open_store(2);
  ASSERT_TRUE(write(1, data_of(700, 'a')));
  ASSERT_TRUE(write(2, data_of(3000, 'b')));
  const int32_t gone = reference(2);
  store_close();
  std::unique_ptr<StoreFile> reader;
  ASSERT_TRUE(StoreFile::open(path("t.edb"), FileAccess::kReadOnly, &reader).is_ok());
  const FieldInfo& field = reader->fields()[0];
  FieldValue value;
  ASSERT_TRUE(reader->read_field(1, field, &value).is_ok());
  ASSERT_EQ(value.bytes().str(), data_of(3000, 'b'));
  ASSERT_TRUE(store_open(path("t.edb")));
  ASSERT_TRUE(write(2, ""));
  store_close();
  ASSERT_EQ(file_size(path("t.EDT")), 512 * (1 + 2));
  for (const int32_t reference : {gone, gone + 2}) {
    std::string bytes = read_file(path("t.edb"));
    put32(&bytes, 116 + 72 + 8 + 4, reference);
    write_file(path("t.edb"), bytes);
    EXPECT_FALSE(reader->read_field(1, field, &value).is_ok()) << reference;
    EXPECT_TRUE(value.bytes().empty()) << reference;
  }
}

TEST_F(CompanionChain, OnlyFreeingTheLastBlockCutsTheFile) {
  // Block 3, free, ends the file (as a crash or an older writer may leave it); freeing
  // block 1 inside the file keeps it.
  open_store(
      2, companion_bytes(4, 1, 3) + block(0, 0, 10, 'A') + block(0, 0, 10, 'B') + block(0, 0, 0));
  std::string bytes = read_file(path("t.edb"));
  put32(&bytes, 116 + 72 + 4, 1);
  put32(&bytes, 116 + 72 + 8 + 4, 2);
  write_file(path("t.edb"), bytes);
  ASSERT_TRUE(write(1, ""));
  EXPECT_EQ(companion_word(16), 4);
  EXPECT_EQ(file_size(path("t.EDT")), 4 * 512);
  EXPECT_EQ(companion_word(24), 1);
  EXPECT_EQ(block_word(1, 1), 3);
  EXPECT_EQ(block_word(3, 0), 1);
  EXPECT_EQ(companion_word(20), 2);
  ASSERT_TRUE(write(2, data_of(1600, 'n')));  // 2, the free 1 and 3, a new block 4
  EXPECT_EQ(companion_word(20), 0);
  ASSERT_TRUE(write(2, ""));  // 4 was the last block: every free block at the end goes
  EXPECT_EQ(companion_word(16), 1);
  EXPECT_EQ(companion_word(20), 0);
  EXPECT_EQ(companion_word(24), 0);
  EXPECT_EQ(file_size(path("t.EDT")), 512);
}

TEST_F(CompanionChain, UntidyFreeChainIsKeptAsFarAsNoValueHoldsItsBlocks) {
  // Records 1 and 2 hold blocks 1 and 4; blocks 2 and 3 were freed by another writer that
  // leaves free blocks' lengths and data: a last block of 500 bytes, then an empty one.
  struct Case {
    const char* name;
    int32_t next_of_2;    // where the free chain goes after block 2
    int32_t blocks;       // the companion's blocks after an 800-byte value is written
    int32_t value_block;  // the new value's first block
  };
  const Case cases[] = {
      {"free chain kept", 3, 5, 2},
      {"cut where it reaches a value", 4, 6, 2},  // block 2 kept, then a new block 5
      {"cut where it comes back", 2, 6, 2},
  };
  for (const Case& c : cases) {
    open_store(3, companion_bytes(5, 2, 2) + block(0, 0, 10, 'A') +
                      block(0, c.next_of_2, 500, 'S') + block(2, 0, 0) + block(0, 0, 10, 'B'));
    std::string bytes = read_file(path("t.edb"));
    put32(&bytes, 116 + 72 + 4, 1);
    put32(&bytes, 116 + 72 + 8 + 4, 4);
    write_file(path("t.edb"), bytes);
    ASSERT_TRUE(write(3, data_of(800, 'n'))) << c.name;
    EXPECT_EQ(reference(3), c.value_block) << c.name;
    EXPECT_EQ(companion_word(16), c.blocks) << c.name;
    EXPECT_EQ(read(1), std::string(10, 'A')) << c.name;
    EXPECT_EQ(read(2), std::string(10, 'B')) << c.name;
    EXPECT_EQ(read(3), data_of(800, 'n')) << c.name;
    store_close();
    EXPECT_TRUE(unsound_findings(path("t.edb")).empty()) << c.name;
  }
}

TEST_F(CompanionChain, BrokenFreeChainIsNotFollowedIntoLiveData) {
  // Block 1 holds record 1's value; the header claims it is the first free block.
  open_store(2, companion_bytes(2, 1, 1) + block(0, 0, 10, 'L'));
  std::string bytes = read_file(path("t.edb"));
  put32(&bytes, 116 + 72 + 4, 1);
  write_file(path("t.edb"), bytes);
  ASSERT_EQ(read(1), std::string(10, 'L'));
  ASSERT_TRUE(write(2, data_of(50, 'n')));
  EXPECT_EQ(read(1), std::string(10, 'L'));
  EXPECT_EQ(read(2), data_of(50, 'n'));
  EXPECT_EQ(reference(2), 2);
}

}  // namespace
