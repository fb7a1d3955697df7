#include "library/file_texts.h"

#include <gtest/gtest.h>

#include "fake_local_files.h"

namespace {

TEST(FileTexts, SizesAsTheListShowsThem) {
  struct Case {
    int64_t bytes;
    const char* text;
  };
  const Case cases[] = {
      {0, "0 KB"},
      {1000, "0.98 KB"},
      {1536, "1.5 KB"},
      {1048576, "1024 KB"},
      {1048576 + 10, "1 MB"},
      {1572864, "1.5 MB"},
      {5242880, "5 MB"},
      {51200, "50 KB"},
      {1048576 + 5, "1024 KB"},         // rounds to 1024.00 KB: not past 1024
      {1048576 + 5 * 1024, "1 MB"},     // 1029 KB: 1.0048828 MB rounds to 1
      {1048576 + 6 * 1024, "1.01 MB"},  // 1030 KB: 1.0058594 MB rounds up
      // Files of 2 GiB and more, by their whole size.
      {(int64_t{2} << 30) - 1, "2048 MB"},
      {int64_t{2} << 30, "2048 MB"},
      {(int64_t{2} << 30) + 1000, "2048 MB"},
      {int64_t{3} << 30, "3072 MB"},
      {(int64_t{4} << 30) + 1536, "4096 MB"},
      {(int64_t{4} << 30) + (int64_t{512} << 20), "4608 MB"},
      {int64_t{5} << 40, "5242880 MB"},  // 5 TiB
  };
  for (const Case& c : cases) EXPECT_EQ(size_text_of(c.bytes), c.text) << c.bytes << " bytes";
}

TEST(FileTexts, TimesAsTheListShowsThem) {
  struct Case {
    DateTimeParts time;
    const char* text;
  };
  const Case cases[] = {
      {{2013, 10, 25, 9, 5, 7}, "2013-10-25 9:5:7"},
      {{2013, 10, 25, 9, 5, 0}, "2013-10-25 9:5:"},
      {{2013, 10, 25, 9, 0, 0}, "2013-10-25 9:"},
      {{2013, 1, 5, 0, 0, 0}, "2013-1-5 "},
      {{2013, 1, 5, 0, 0, 30}, "2013-1-5 0:0:30"},
      {{2024, 12, 31, 23, 59, 59}, "2024-12-31 23:59:59"},
  };
  for (const Case& c : cases) {
    const DateTimeParts& t = c.time;
    DateTime when = make_date_time(t.year, t.month, t.day, t.hour, t.minute, t.second);
    EXPECT_EQ(time_text_of(when), c.text);
  }
}

TEST(FileTexts, FromTheDirectoryEntryOrForAMissingFile) {
  FakeLocalFiles files;
  files.add_file("C:\\src\\a.e", std::string(1536, 'x'), {2013, 10, 25, 9, 5, 0});
  EXPECT_EQ(file_time_text(files, files.path_from_text("C:\\src\\a.e")), "2013-10-25 9:5:");
  EXPECT_EQ(file_size_text(files, files.path_from_text("C:\\src\\a.e")), "1.5 KB");
  // A file that can't be found: the earliest date-time, and -1 bytes.
  EXPECT_EQ(file_time_text(files, files.path_from_text("C:\\src\\gone.e")), "100-1-1 ");
  EXPECT_EQ(file_size_text(files, files.path_from_text("C:\\src\\gone.e")), "-0 KB");
}

}  // namespace
