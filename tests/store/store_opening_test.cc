// Opening a store file: every check that refuses it, every repair it makes.
#include <gtest/gtest.h>

#include "store/store_file.h"
#include "store_test_support.h"

namespace {

class StoreOpening : public StoreTest {};

const std::vector<TestField> kTwoTexts = {{"a", 10, 4, 8}, {"b", 10, 12, 8}};

struct Refusal {
  const char* name;
  std::string (*make)();
  const char* failed_check;
};

std::string good() {
  return store_file_bytes(kTwoTexts, 20);
}
std::string with32(std::string bytes, size_t at, int32_t value) {
  put32(&bytes, at, value);
  return bytes;
}

const Refusal kRefusals[] = {
    {"empty file", [] { return std::string(); }, "short header"},
    {"short header", [] { return good().substr(0, 111); }, "short header"},
    {"bad tag", [] { return "WEDX" + good().substr(4); }, "bad tag"},
    {"newer version", [] { return with32(good(), 4, 0x10001); }, "version"},
    {"record size 0", [] { return with32(good(), 24, 0); }, "record size"},
    {"negative count", [] { return with32(good(), 16, -1); }, "record count"},
    {"next id 0", [] { return with32(good(), 20, 0); }, "next record id"},
    {"no field count", [] { return good().substr(0, 114); }, "field count"},
    {"zero fields", [] { return with32(good(), 112, 0); }, "field count"},
    {"huge field count", [] { return with32(good(), 112, 0x7FFFFFFF); }, "short field table"},
    {"cut field table", [] { return good().substr(0, 116 + 72 + 10); }, "short field table"},
    {"name of 17 bytes",
     [] {
       return store_file_bytes({{std::string(17, 'n'), 10, 4, 8}}, 20);
     },
     "field name"},
    {"negative offset",
     [] {
       return store_file_bytes({{"a", 10, -4, 8}}, 20);
     },
     "field offset"},
    {"type 0",
     [] {
       return store_file_bytes({{"a", 0, 4, 8}}, 20);
     },
     "field type"},
    {"type 13",
     [] {
       return store_file_bytes({{"a", 13, 4, 8}}, 20);
     },
     "field type"},
    {"text width 0",
     [] {
       return store_file_bytes({{"a", 10, 4, 0}}, 20);
     },
     "field width"},
};

TEST_F(StoreOpening, RefusesMalformedFiles) {
  for (const Refusal& r : kRefusals) {
    std::string file = path("t.edb");
    write_file(file, r.make());
    std::unique_ptr<StoreFile> store;
    Status status = StoreFile::open(file, FileAccess::kReadWrite, &store);
    EXPECT_EQ(status.code(), Status::Code::kCorrupt) << r.name;
    EXPECT_EQ(status.what(), r.failed_check) << r.name;
    EXPECT_EQ(store_open_status(file).what(), r.failed_check) << r.name;
  }
}

TEST_F(StoreOpening, SixteenByteNameAndNoCompanionForPlainFieldsOpen) {
  write_file(path("t.edb"), store_file_bytes({{std::string(16, 'n'), 10, 4, 8}}, 12));
  EXPECT_TRUE(store_open(path("t.edb")));
}

TEST_F(StoreOpening, OlderVersionAndReservedBytesAreTolerated) {
  std::string bytes = with32(good(), 4, 0x100);
  put32(&bytes, 8, 0x12345678);  // a creation time, as the runtime writes it
  write_file(path("t.edb"), bytes);
  EXPECT_TRUE(store_open(path("t.edb")));
}

struct CompanionRefusal {
  const char* name;
  std::string bytes;
  const char* failed_check;
};

TEST_F(StoreOpening, RefusesMalformedCompanions) {
  std::string bad_tag = companion_bytes();
  bad_tag[3] = 'X';
  std::string other_version = companion_bytes();
  put32(&other_version, 4, 0x100);
  const CompanionRefusal cases[] = {
      {"short", companion_bytes().substr(0, 31), "companion header short"},
      {"tag", bad_tag, "companion tag"},
      {"version", other_version, "companion version"},
      {"block count 0", companion_bytes(0), "companion block count"},
      {"free count too big", companion_bytes(2, 2, 1), "companion free count"},
      {"negative free count", companion_bytes(2, -1, 0), "companion free count"},
      {"first free past end", companion_bytes(2, 1, 2), "companion first free block"},
  };
  write_file(path("t.edb"), store_file_bytes({{"a", 11, 4, 0}}, 8));
  for (const CompanionRefusal& c : cases) {
    write_file(path("t.EDT"), c.bytes);
    std::unique_ptr<StoreFile> store;
    Status status = StoreFile::open(path("t.edb"), FileAccess::kReadWrite, &store);
    EXPECT_EQ(status.code(), Status::Code::kCorrupt) << c.name;
    EXPECT_EQ(status.what(), c.failed_check) << c.name;
  }
}

TEST_F(StoreOpening, PartialRecordsAreCutAndTheCountRepaired) {
  // The header says 10 records; the file holds 7 whole ones and part of an eighth.
  std::string bytes = store_file_bytes(kTwoTexts, 20, 10, 11);
  size_t data_start = bytes.size();
  for (int i = 0; i < 7; ++i) {
    std::string record(20, '\0');
    put32(&record, 0, i + 1);
    record.replace(4, 2, "r" + std::to_string(i + 1));
    bytes += record;
  }
  bytes += std::string(9, 'x');
  write_file(path("t.edb"), bytes);
  ASSERT_TRUE(store_open(path("t.edb")));
  EXPECT_EQ(record_count(), 7);
  EXPECT_EQ(file_size(path("t.edb")), static_cast<int64_t>(data_start + 7 * 20));
  go_last();
  EXPECT_EQ(read_field("a").text(), "r7");
  ASSERT_TRUE(append_blank_record());
  EXPECT_EQ(record_count(), 8);
}

TEST_F(StoreOpening, RecordsBeyondTheCountAreCut) {
  std::string bytes = store_file_bytes(kTwoTexts, 20, 1, 3) + std::string(40, '\0');
  write_file(path("t.edb"), bytes);
  ASSERT_TRUE(store_open(path("t.edb")));
  EXPECT_EQ(record_count(), 1);
  EXPECT_EQ(file_size(path("t.edb")), static_cast<int64_t>(bytes.size() - 20));
}

TEST_F(StoreOpening, CompanionBlockCountRepairedToTheFile) {
  write_file(path("t.edb"), store_file_bytes({{"a", 11, 4, 0}}, 8));
  std::string companion = companion_bytes(9) + std::string(512 * 2, '\0');
  write_file(path("t.EDT"), companion);
  ASSERT_TRUE(store_open(path("t.edb")));
  EXPECT_EQ(get32(read_file(path("t.EDT")), 16), 3);
}

TEST_F(StoreOpening, CutCompanionOpensAgainEveryTime) {
  // A companion cut short (a crash, a copy that stopped) once opened with a block count
  // lowered but a free chain beyond it, and was refused from then on.
  struct Case {
    const char* name;
    std::string header;
    int32_t blocks, free_count, first_free;
  };
  const Case cases[] = {
      {"free chain starts past the cut", companion_bytes(9, 3, 6), 3, 0, 0},
      {"free count too large for the cut", companion_bytes(9, 5, 1), 3, 2, 1},
      {"free chain inside the cut", companion_bytes(9, 1, 2), 3, 1, 2},
  };
  write_file(path("t.edb"), store_file_bytes({{"a", 11, 4, 0}}, 8));
  for (const Case& c : cases) {
    write_file(path("t.EDT"), c.header + std::string(512 * 2 + 100, '\0'));
    for (int opening = 1; opening <= 3; ++opening) {
      Status opened = store_open_status(path("t.edb"));
      ASSERT_TRUE(opened.is_ok()) << c.name << ", opening " << opening << ": " << opened.text();
      store_close();
    }
    const std::string companion = read_file(path("t.EDT"));
    EXPECT_EQ(get32(companion, 16), c.blocks) << c.name;
    EXPECT_EQ(get32(companion, 20), c.free_count) << c.name;
    EXPECT_EQ(get32(companion, 24), c.first_free) << c.name;
  }
}

TEST_F(StoreOpening, ReadingOnlyListsTheRepairsAndChangesNothing) {
  std::string bytes = store_file_bytes(kTwoTexts, 20, 3, 4) + std::string(2 * 20 + 7, '\0');
  write_file(path("t.edb"), bytes);
  std::unique_ptr<StoreFile> store;
  ASSERT_TRUE(StoreFile::open(path("t.edb"), FileAccess::kReadOnly, &store).is_ok());
  EXPECT_EQ(store->opened_record_count(), 2);
  EXPECT_EQ(store->repairs(),
            (std::vector<std::string>{"record count 3 -> 2 (the file holds 2 whole records)",
                                      "file cut to " + std::to_string(bytes.size() - 7) +
                                          " bytes (7 bytes after the last record)"}));
  store.reset();
  EXPECT_EQ(read_file(path("t.edb")), bytes);
  ASSERT_TRUE(StoreFile::open(path("t.edb"), FileAccess::kReadWrite, &store).is_ok());
  EXPECT_EQ(store->repairs().size(), 2u);
  store.reset();
  EXPECT_EQ(file_size(path("t.edb")), static_cast<int64_t>(bytes.size() - 7));
  EXPECT_EQ(get32(read_file(path("t.edb")), 16), 2);
}

}  // namespace
