// codelib: the shipped empty library, the JSON of a record, the three commands.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

#include "text/gbk_unicode.h"
#include "record_json.h"
#include "store_test_support.h"

namespace {

class Codelib : public StoreTest {
 protected:
  // Runs codelib; returns its standard output, *status its exit status.
  std::string run(const std::string& arguments, int* status) {
    std::string command = std::string(CODELIB_PROGRAM) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    int raw = pclose(pipe);
    *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
  }
};

TEST_F(Codelib, CreateMakesTheShippedEmptyLibraryByteForByte) {
  int status = 0;
  run("create " + path("Code.edb"), &status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(read_file(path("Code.edb")), read_file(EMPTY_LIBRARY_DIR "/Code.edb"));
  EXPECT_EQ(read_file(path("Code.EDT")), read_file(EMPTY_LIBRARY_DIR "/Code.EDT"));
  run("create " + path("Code.edb"), &status);
  EXPECT_EQ(status, 1);  // never replaces a library
}

TEST_F(Codelib, CheckPrintsTheShapeOrTheFailedCheck) {
  int status = 0;
  new_library();
  ASSERT_TRUE(store_open(path("Code.edb")));
  append_titled("t", 1, 2);
  write_field(kFieldAttachment, ByteSet(std::string(1200, 'x')));
  write_field(kFieldAttachment, ByteSet(std::string(10, 'x')));  // frees 2 (the file is cut)
  go_first();
  write_field(kFieldAttachment, ByteSet(std::string(10, 'x')));
  store_close();
  EXPECT_EQ(run("check " + path("Code.edb"), &status),
            "records=2 fields=7 record_size=604 blocks=3 free_blocks=0\n");
  EXPECT_EQ(status, 0);
  write_file(path("bad.edb"), "WEDX" + std::string(200, '\0'));
  EXPECT_EQ(run("check " + path("bad.edb"), &status), "refused: bad tag\n");
  EXPECT_EQ(status, 1);
  run("dump " + path("bad.edb"), &status);
  EXPECT_EQ(status, 1);
}

TEST_F(Codelib, DumpPrintsOneJsonObjectPerRecord) {
  write_file(path("all.edb"), store_file_bytes({{"b", 1, 4, 0},
                                                {"s", 2, 5, 0},
                                                {"i", 3, 7, 0},
                                                {"l", 4, 11, 0},
                                                {"f", 5, 19, 0},
                                                {"d", 6, 23, 0},
                                                {"t", 7, 31, 0},
                                                {"dt", 8, 32, 0},
                                                {"r", 9, 40, 0},
                                                {"x", 10, 44, 6},
                                                {"y", 11, 50, 0},
                                                {"z", 12, 54, 0}},
                                               58));
  write_file(path("all.EDT"), companion_bytes());
  ASSERT_TRUE(store_open(path("all.edb")));
  ASSERT_TRUE(append_blank_record());
  ASSERT_TRUE(write_field("x", "标\"\x81"));
  ASSERT_TRUE(write_field("y", ByteSet("abc", 3)));
  ASSERT_TRUE(write_field("z", "长文本"));
  store_close();
  std::string bytes = read_file(path("all.edb"));
  size_t record = bytes.size() - 58;
  bytes[record + 4] = '\xFF';
  put32(&bytes, record + 7, -42);
  put32(&bytes, record + 19, 0x3FC00000);  // 1.5f
  put32(&bytes, record + 27, 0x40040000);  // 2.5 (high word of a double)
  bytes[record + 31] = 1;
  put32(&bytes, record + 36, 0x7FF00000);  // +infinity days: clamped
  put32(&bytes, record + 40, 77);
  write_file(path("all.edb"), bytes);
  int status = 0;
  EXPECT_EQ(run("dump " + path("all.edb"), &status),
            "{\"id\": 1, \"b\": 255, \"s\": 0, \"i\": -42, \"l\": 0, \"f\": 1.5, \"d\": 2.5, "
            "\"t\": true, \"dt\": 2958465, \"r\": 77, \"x\": \"\xE6\xA0\x87\\\"\xEF\xBF\xBD\", "
            "\"y\": {\"size\": 3, \"crc32\": \"352441c2\"}, \"z\": \"\xE9\x95\xBF\xE6\x96\x87\xE6"
            "\x9C\xAC\"}\n");
  EXPECT_EQ(status, 0);
}

TEST(CodelibJson, GbkBecomesUtf8WithReplacementForBadBytes) {
  struct Case {
    std::string gbk;
    std::string utf8;
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"\xB1\xEA\xCC\xE2", "\xE6\xA0\x87\xE9\xA2\x98"},  // 标题
      {"\x80", "\xEF\xBF\xBD"},
      {"\xFF\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"a\xB1", "a\xEF\xBF\xBD"},  // a lead byte at the end
      {"\xB1"
       "0",
       "\xEF\xBF\xBD"
       "0"},  // no trail: the next byte is kept
  };
  for (const Case& c : cases) EXPECT_EQ(gbk_to_utf8(c.gbk), c.utf8);
  EXPECT_EQ(json_text("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
}

}  // namespace
