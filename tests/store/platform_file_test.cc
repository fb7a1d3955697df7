// The system's files as the store reads them: an exact span, or up to where the file ends.
#include "store/platform_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "store_test_support.h"

namespace {

class PlatformFileTest : public StoreTest {};

TEST_F(PlatformFileTest, AnExactReadFailsWhereTheFileEndsFirst) {
  const std::string file = path("ten.edb");
  write_file(file, "0123456789");
  std::unique_ptr<PlatformFile> opened;
  ASSERT_TRUE(system_files().open_existing(file, FileAccess::kReadOnly, &opened));
  const struct {
    int64_t offset;
    size_t size;
    const char* read;  // nullptr: the read fails
  } cases[] = {
      {0, 10, "0123456789"}, {4, 6, "456789"}, {9, 1, "9"},      {0, 0, ""},
      {0, 11, nullptr},      {9, 2, nullptr},  {10, 1, nullptr}, {50, 1, nullptr},
  };
  for (const auto& c : cases) {
    std::string buffer(c.size, '?');
    Status status = opened->read_at(c.offset, buffer.data(), c.size);
    if (c.read != nullptr) {
      EXPECT_TRUE(status) << c.offset << "+" << c.size << ": " << status.text();
      EXPECT_EQ(buffer, c.read) << c.offset << "+" << c.size;
    } else {
      EXPECT_EQ(status.code(), Status::Code::kIoError) << c.offset << "+" << c.size;
      EXPECT_EQ(status.what(), "read " + file) << c.offset << "+" << c.size;
    }
  }
}

TEST_F(PlatformFileTest, ReadingUpToStopsWhereTheFileEnds) {
  const std::string file = path("ten.edb");
  write_file(file, "0123456789");
  std::unique_ptr<PlatformFile> opened;
  ASSERT_TRUE(system_files().open_existing(file, FileAccess::kReadOnly, &opened));
  const struct {
    int64_t offset;
    size_t size;
    std::string read;
  } cases[] = {
      {0, 10, "0123456789"},
      {4, 100, "456789"},
      {10, 5, ""},
      {50, 5, ""},
  };
  for (const auto& c : cases) {
    std::string buffer(c.size, '?');
    size_t got = 99;
    ASSERT_TRUE(opened->read_up_to(c.offset, buffer.data(), c.size, &got)) << c.offset;
    EXPECT_EQ(buffer.substr(0, got), c.read) << c.offset << "+" << c.size;
  }
}

}  // namespace
