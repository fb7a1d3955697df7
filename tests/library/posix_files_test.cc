// The import over a real folder tree on Linux: links, names GBK can't hold, files that
// can't be read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "library/local_files_posix.h"
#include "library/source_import.h"
#include "library_test_support.h"
#include "store/source_record.h"
#include "store/store.h"

namespace {

namespace fs = std::filesystem;

class PosixImportTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    root_ = path("tree");
    fs::create_directories(root_);
  }
  void put(const std::string& relative, const std::string& content) {
    fs::path file = fs::path(root_) / relative;
    fs::create_directories(file.parent_path());
    write_file(file.string(), content);
  }
  struct Quiet final : ImportObserver {};
  ImportCounts import_tree() {
    Quiet quiet;
    SourceImport import(posix_, lib_, quiet);
    EXPECT_TRUE(import.open());
    EXPECT_TRUE(import.import_folder(posix_.path_from_text(utf8_to_gbk(root_))));
    import.close();
    return import.counts();
  }

  PosixLocalFiles posix_;
  std::string root_;
};

TEST(Utf8ToGbk, CharactersGbkCantHoldBecomeAQuestionMark) {
  struct Case {
    std::string utf8, gbk;
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"\xE6\x95\xB0\xE6\x8D\xAE\xE5\xBA\x93", "\xCA\xFD\xBE\xDD\xBF\xE2"},  // 数据库
      {"\xE9\x9F\xB3\xE4\xB9\x90\xE2\x99\xAB", "\xD2\xF4\xC0\xD6?"},  // 音乐♫: ♫ has no GBK form
      {"\xF0\x9F\x98\x80x", "?x"},  // outside the Basic Multilingual Plane
      {"\xFFz", "?z"},              // a byte that begins no character
      {"\xC0\xAF", "??"},           // an overlong "/"
  };
  for (const Case& c : cases) EXPECT_EQ(utf8_to_gbk(c.utf8), c.gbk) << c.utf8;
}

TEST_F(PosixImportTest, ASymbolicLinkLoopEnds) {
  put("me/AppData/x.e", "x");
  fs::create_directory_symlink("..", fs::path(root_) / "me" / "Application Data");
  fs::create_directory_symlink(root_, fs::path(root_) / "me" / "AppData" / "up");
  const ImportCounts counts = import_tree();
  EXPECT_EQ(counts.added, 1);
  ASSERT_EQ(entries().size(), 1u);
}

TEST_F(PosixImportTest, ANameGbkCantHoldIsStillReadThroughItsOwnName) {
  put("\xE9\x9F\xB3\xE4\xB9\x90\xE2\x99\xAB.e", "tune");  // 音乐♫.e, in UTF-8
  import_tree();
  const std::vector<Entry> all = entries();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].title, "\xD2\xF4\xC0\xD6?") << "音乐? (the character GBK lacks as ?)";
  EXPECT_EQ(all[0].address, utf8_to_gbk(root_) + "/\xD2\xF4\xC0\xD6?.e");
  EXPECT_EQ(attachment_of("\xD2\xF4\xC0\xD6?"), "tune") << "the content was read";
}

TEST_F(PosixImportTest, ALinkToNothingIsStoredEmpty) {
  fs::create_symlink(fs::path(root_) / "gone", fs::path(root_) / "dangling.e");
  put("real.e", "real");
  const ImportCounts counts = import_tree();
  EXPECT_EQ(counts.added, 2);
  EXPECT_EQ(counts.added_empty, 1);
  EXPECT_EQ(attachment_of("real"), "real");
}

TEST_F(PosixImportTest, FileFactsComeFromTheDirectoryEntry) {
  put("sized.e", std::string(1536, 's'));
  const std::string file = (fs::path(root_) / "sized.e").string();
  struct tm parts = {};
  parts.tm_year = 2013 - 1900;
  parts.tm_mon = 9;
  parts.tm_mday = 25;
  parts.tm_hour = 9;
  parts.tm_min = 5;
  parts.tm_sec = 7;
  parts.tm_isdst = -1;
  const time_t local = mktime(&parts);
  struct timespec times[2] = {{local, 0}, {local, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  import_tree();
  ASSERT_EQ(entries().size(), 1u);
  EXPECT_EQ(entries()[0].size, "1.5 KB");
  EXPECT_EQ(entries()[0].time, "2013-10-25 9:5:7");
}

TEST_F(PosixImportTest, ReadingIsBounded) {
  put("big.e", std::string(5000, 'b'));
  ByteSet bytes;
  const LocalPath big = posix_.path_from_text(utf8_to_gbk(root_) + "/big.e");
  EXPECT_EQ(posix_.read_file(big, 4999, &bytes), ReadOutcome::kTooLarge);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(posix_.read_file(big, 5000, &bytes), ReadOutcome::kRead);
  EXPECT_EQ(bytes.size(), 5000u);
  EXPECT_EQ(posix_.read_file(posix_.path_from_text(utf8_to_gbk(root_)), 5000, &bytes),
            ReadOutcome::kUnreadable)
      << "a folder";
}

}  // namespace
