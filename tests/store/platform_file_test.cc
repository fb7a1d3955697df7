// The system's files as the store reads them: an exact span, or up to where the file ends.
#include "store/platform_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "store_test_support.h"

namespace {

class PlatformFileTest : public StoreTest {
 protected:
  // A file of ten bytes, "0123456789", opened for reading.
  std::unique_ptr<PlatformFile> ten_bytes() {
    file_ = path("ten.edb");
    write_file(file_, "0123456789");
    std::unique_ptr<PlatformFile> opened;
    EXPECT_TRUE(system_files().open_existing(file_, FileAccess::kReadOnly, &opened));
    return opened;
  }
  std::string file_;
};

// Reading up to gives what lies in the span; an exact read gives it only when the whole
// span is there, and otherwise says which file ended first.
TEST_F(PlatformFileTest, ReadsStopWhereTheFileEnds) {
  std::unique_ptr<PlatformFile> opened = ten_bytes();
  ASSERT_TRUE(opened);
  const struct {
    int64_t offset;
    size_t size;
    std::string there;
  } cases[] = {
      {0, 10, "0123456789"}, {4, 6, "456789"}, {9, 1, "9"}, {0, 0, ""},
      {0, 11, "0123456789"}, {9, 2, "9"},      {10, 1, ""}, {50, 1, ""},
      {4, 100, "456789"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " bytes at " << c.offset);
    std::string buffer(c.size, '?');
    size_t got = 99;
    ASSERT_TRUE(opened->read_up_to(c.offset, buffer.data(), c.size, &got));
    EXPECT_EQ(buffer.substr(0, got), c.there);

    buffer.assign(c.size, '?');
    Status status = opened->read_at(c.offset, buffer.data(), c.size);
    if (c.there.size() == c.size) {
      EXPECT_TRUE(status) << status.text();
      EXPECT_EQ(buffer, c.there);
    } else {
      EXPECT_EQ(status.code(), Status::Code::kIoError);
      EXPECT_EQ(status.what(), "read " + file_);
    }
  }
}

}  // namespace
