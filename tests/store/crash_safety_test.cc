// A store file cut anywhere inside its last record (a crash during an append) opens with
// the whole records before it.
#include <gtest/gtest.h>

#include <filesystem>

#include "store_test_support.h"

namespace {

class CrashSafety : public StoreTest {};

TEST_F(CrashSafety, CutInsideTheLastRecordKeepsTheWholeRecords) {
  std::string lib = new_library("full.edb");
  ASSERT_TRUE(store_open(lib));
  append_titled("entry", 1, 5);
  write_field(kFieldAttachment, pack_attachment(ByteSet(std::string(2000, 's'))));
  store_close();
  const std::string full = read_file(lib);
  const std::string companion = read_file(path("full.EDT"));
  const size_t record_size = 604;
  for (size_t cut = full.size() - record_size; cut < full.size(); ++cut) {
    write_file(path("cut.edb"), full.substr(0, cut));
    write_file(path("cut.EDT"), companion);
    ASSERT_TRUE(store_open(path("cut.edb"))) << cut;
    ASSERT_EQ(record_count(), 4) << cut;
    ASSERT_EQ(file_size(path("cut.edb")), static_cast<int64_t>(full.size() - record_size));
    ASSERT_TRUE(find_title("entry4")) << cut;
    ASSERT_FALSE(find_title("entry5")) << cut;
    ASSERT_TRUE(append_blank_record()) << cut;
    ASSERT_EQ(record_count(), 5) << cut;
    store_close();
  }
}

}  // namespace
