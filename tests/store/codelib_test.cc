// codelib: the shipped empty library, inspection that changes nothing, repairs, messages
// that name the file and the cause, dumps that read alike on every platform, and paths as
// the platform has them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "codelib.h"
#include "faulty_files.h"
#include "record_json.h"
#include "store/empty_library.h"
#include "store/platform_file.h"
#include "store/store_file.h"
#include "store_test_support.h"
#include "text/date_time.h"
#include "text/gbk_unicode.h"

namespace fs = std::filesystem;

namespace {

struct Output {
  int status = 0;
  std::string out, err;
};

class Codelib : public StoreTest {
 protected:
  // Runs a codelib command in this process; paths are the platform's texts.
  Output run(const std::string& command, const std::string& file) {
    std::FILE* out = std::fopen(path("out.txt").c_str(), "w+b");
    std::FILE* err = std::fopen(path("err.txt").c_str(), "w+b");
    Output result;
    result.status = run_codelib({command, file}, out, err);
    std::fclose(out);
    std::fclose(err);
    result.out = read_file(path("out.txt"));
    result.err = read_file(path("err.txt"));
    return result;
  }

  // A library whose store file holds part of a record past its count and whose companion
  // was cut inside its blocks: opening has something to repair in both.
  std::string library_needing_repair() {
    const std::string lib = new_library("cut.edb");
    EXPECT_TRUE(store_open(lib));
    append_titled("t", 1, 2);
    write_field(kFieldAttachment, ByteSet(std::string(1200, 'x')));  // record 2: 1 2 3
    go_first();
    write_field(kFieldAttachment, ByteSet(std::string(1200, 'y')));  // record 1: 4 5 6
    go_to_record(2);
    write_field(kFieldAttachment, ByteSet(std::string(100, 'x')));  // 1; frees 2 3: head 2
    store_close();
    std::string bytes = read_file(lib);
    write_file(lib, bytes + std::string(100, 'p'));
    std::string companion = read_file(path("cut.EDT"));
    write_file(path("cut.EDT"), companion.substr(0, 2 * 512 + 40));
    return lib;
  }
};

TEST_F(Codelib, CreateWritesItsTimeIntoTheShippedEmptyLibrary) {
  // The shipped library is what creating one with its fixed time makes, byte for byte.
  const std::string shipped = read_file(EMPTY_LIBRARY_DIR "/Code.edb");
  ASSERT_TRUE(create_empty_library(path("shipped.edb")).is_ok());
  EXPECT_EQ(read_file(path("shipped.edb")), shipped);
  EXPECT_EQ(read_file(path("shipped.EDT")), read_file(EMPTY_LIBRARY_DIR "/Code.EDT"));

  // codelib creates it at the time it runs, the time as a date-time field holds it.
  const double before = local_time_now().days;
  EXPECT_EQ(run("create", path("Code.edb")).status, 0);
  const double after = local_time_now().days;
  std::string made = read_file(path("Code.edb"));
  ASSERT_EQ(made.size(), shipped.size());
  double created = 0;
  std::memcpy(&created, made.data() + 8, 8);
  EXPECT_GE(created, before);
  EXPECT_LE(created, after);
  EXPECT_EQ(made.replace(8, 8, shipped, 8, 8), shipped);
  EXPECT_EQ(read_file(path("Code.EDT")), read_file(EMPTY_LIBRARY_DIR "/Code.EDT"));
  std::unique_ptr<StoreFile> store;
  ASSERT_TRUE(StoreFile::open(path("Code.edb"), FileAccess::kReadOnly, &store).is_ok());
  EXPECT_EQ(store->created(), created);
  store.reset();
  const DateTimeParts t = split_date_time(DateTime{created});
  char line[64];
  std::snprintf(line, sizeof line, "created: %04d-%02d-%02d %02d:%02d:%02d\n", t.year, t.month,
                t.day, t.hour, t.minute, t.second);
  EXPECT_EQ(run("check", path("Code.edb")).out,
            std::string("records=0 fields=7 record_size=604 blocks=1 free_blocks=0\n") + line);

  Output again = run("create", path("Code.edb"));
  EXPECT_EQ(again.status, 1);  // never replaces a library
  EXPECT_EQ(again.err, "codelib: can't create " + path("Code.edb") + ": " + path("Code.edb") +
                           " exists already\n");
  EXPECT_EQ(again.out, "");
}

TEST_F(Codelib, CheckAndDumpChangeNothing) {
  const std::string lib = library_needing_repair();
  const std::string store_bytes = read_file(lib), companion = read_file(path("cut.EDT"));
  const auto store_time = fs::last_write_time(lib);
  const auto companion_time = fs::last_write_time(path("cut.EDT"));
  Output check = run("check", lib);
  EXPECT_EQ(check.out,
            "records=2 fields=7 record_size=604 blocks=2 free_blocks=0\n"
            "created: 2026-12-08 00:00:00\n"
            "repair due: file cut to 1828 bytes (100 bytes after the last record)\n"
            "repair due: companion block count 7 -> 2 (the file holds 2 blocks)\n"
            "repair due: companion free chain dropped (its first block 2 lies past the end)\n"
            "broken: record 1 \xE9\x99\x84\xE4\xBB\xB6: block 4 lies past the end (2 blocks)\n"
            "broken: the free chain: block 2 lies past the end (2 blocks)\n"
            "lost: the header's free count is 2, the free chain holds 0 blocks\n");
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(run("dump", lib).status, 0);
  EXPECT_EQ(read_file(lib), store_bytes);
  EXPECT_EQ(read_file(path("cut.EDT")), companion);
  EXPECT_EQ(fs::last_write_time(lib), store_time);
  EXPECT_EQ(fs::last_write_time(path("cut.EDT")), companion_time);
}

TEST_F(Codelib, RepairMakesTheRepairsOfOpeningAndSaysWhich) {
  const std::string lib = library_needing_repair();
  Output repair = run("repair", lib);
  EXPECT_EQ(repair.status, 0);
  EXPECT_EQ(repair.out,
            "repaired: file cut to 1828 bytes (100 bytes after the last record)\n"
            "repaired: companion block count 7 -> 2 (the file holds 2 blocks)\n"
            "repaired: companion free chain dropped (its first block 2 lies past the end)\n");
  EXPECT_EQ(file_size(lib), 1828);
  EXPECT_EQ(run("repair", lib).out, "nothing to repair\n");
  // Repairs of opening only: the chains that point past the cut stay as they are.
  EXPECT_EQ(run("check", lib).status, 1);
}

TEST_F(Codelib, SoundLibraryChecksClean) {
  const std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 2);
  write_field(kFieldAttachment, ByteSet(std::string(1200, 'x')));
  go_first();
  write_field(kFieldAttachment, ByteSet(std::string(10, 'x')));
  store_close();
  Output check = run("check", lib);
  EXPECT_EQ(check.out,
            "records=2 fields=7 record_size=604 blocks=5 free_blocks=0\n"
            "created: 2026-12-08 00:00:00\n");
  EXPECT_EQ(check.err, "");
  EXPECT_EQ(check.status, 0);

  // A block a crash left unreachable is lost space, reported but not broken.
  std::string bytes = read_file(lib);
  put32(&bytes, 116 + 72 * 7 + 604 + 600, 0);  // record 2 lets go of its chain
  write_file(lib, bytes);
  check = run("check", lib);
  EXPECT_EQ(check.out,
            "records=2 fields=7 record_size=604 blocks=5 free_blocks=0\n"
            "created: 2026-12-08 00:00:00\n"
            "lost: 3 blocks reached from nowhere (the first: block 1)\n");
  EXPECT_EQ(check.status, 0);
}

TEST_F(Codelib, RefusalsNameTheFileAndTheCause) {
  write_file(path("bad.edb"), "WEDX" + std::string(200, '\0'));
  write_file(path("alone.edb"), store_file_bytes({{"a", 11, 4, 0}}, 8));
  struct Case {
    const char* command;
    std::string file;
    std::string message_start;
  };
  // Files are named by their full paths, as the system writes them.
  auto full = [&](const char* name) { return full_path_name(path(name)); };
  const Case cases[] = {
      {"check", path("bad.edb"), "codelib: " + full("bad.edb") + ": refused: bad tag"},
      {"dump", path("bad.edb"), "codelib: " + full("bad.edb") + ": refused: bad tag"},
      {"repair", path("bad.edb"), "codelib: " + full("bad.edb") + ": refused: bad tag"},
      {"check", path("missing.edb"), "codelib: " + full("missing.edb") + " not found ("},
      // The companion that was looked for is named.
      {"check", path("alone.edb"),
       "codelib: " + full("alone.edb") + ": " + full("alone.EDT") + " not found ("},
      {"create", path("no/such/folder.edb"),
       "codelib: can't create " + path("no/such/folder.edb") + ": folder " + path("no/such") +
           " not found ("},
  };
  for (const Case& c : cases) {
    Output o = run(c.command, c.file);
    EXPECT_EQ(o.status, 1) << c.command << " " << c.file;
    EXPECT_EQ(o.out, "") << c.command << " " << c.file;
    EXPECT_EQ(o.err.substr(0, c.message_start.size()), c.message_start) << o.err;
  }
}

// The system's files, as if every file were read-only.
class ReadOnlyFiles : public FileOpener {
 public:
  ReadOnlyFiles() { set_file_opener(this); }
  ~ReadOnlyFiles() override { set_file_opener(nullptr); }
  Status open_existing(const std::string& path, FileAccess access,
                       std::unique_ptr<PlatformFile>* file) override {
    if (access == FileAccess::kReadWrite) {
      return Status::io_error("open " + path, "Permission denied");
    }
    return system_files().open_existing(path, access, file);
  }
  Status create_new(const std::string& path, std::unique_ptr<PlatformFile>* file) override {
    return system_files().create_new(path, file);
  }
  Status remove(const std::string& path) override { return system_files().remove(path); }
};

TEST_F(Codelib, ReadOnlyLibraryIsInspectedAndRepairSaysWhyNot) {
  const std::string lib = new_library();
  ReadOnlyFiles read_only;
  EXPECT_EQ(run("check", lib).status, 0);
  EXPECT_EQ(run("dump", lib).status, 0);
  Output repair = run("repair", lib);
  EXPECT_EQ(repair.status, 1);
  EXPECT_EQ(repair.err, "codelib: can't open " + full_path_name(lib) + ": Permission denied\n");
}

const char* const kGbkTitles[] = {
    "\xB1\xEA\xCC\xE2",
    "\xA2\xE3",
    "\xA6\xD9",
    "\xA8\xBF",
    "\xFE\x50",
    "\xAA\xA1",
    "\xA1\x40",
    "\xD7\xFA",
    "a\xA1\xA1"
    "b",
    "\x80x",
    "\xB1\x7F",
    "\xFF\xB1",
};

TEST_F(Codelib, DumpReadsGbkByOneTableOnEveryPlatform) {
  // The codes where converters disagree (A2E3, A6D9, A8BF, FE50, the user-defined areas)
  // and bytes that begin no character: the same UTF-8 from every build.
  const std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  for (const char* title : kGbkTitles) {
    ASSERT_TRUE(append_record({{kFieldTitle, title}}).is_ok());
  }
  store_close();
  Output dump = run("dump", lib);
  EXPECT_EQ(dump.status, 0);
  EXPECT_EQ(dump.out, read_file(FIXTURE_DIR "/gbk_codes.dump"));
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
  ASSERT_TRUE(write_field("x", "\xB1\xEA\"\x81"));
  ASSERT_TRUE(write_field("y", ByteSet("abc", 3)));
  ASSERT_TRUE(write_field("z", "\xB3\xA4\xCE\xC4\xB1\xBE"));
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
  Output dump = run("dump", path("all.edb"));
  EXPECT_EQ(dump.out,
            "{\"id\": 1, \"b\": 255, \"s\": 0, \"i\": -42, \"l\": 0, \"f\": 1.5, \"d\": 2.5, "
            "\"t\": true, \"dt\": 2958465, \"r\": 77, \"x\": \"\xE6\xA0\x87\\\"\xEF\xBF\xBD\", "
            "\"y\": {\"size\": 3, \"crc32\": \"352441c2\"}, \"z\": \"\xE9\x95\xBF\xE6\x96\x87\xE6"
            "\x9C\xAC\"}\n");
  EXPECT_EQ(dump.status, 0);
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

#ifndef _WIN32
// UTF-8 text from a u8 literal (narrow literals are GBK in this build).
std::string utf8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

// The program itself, with arguments as the shell hands them over (UTF-8 bytes).
class CodelibProgram : public StoreTest {
 protected:
  std::string run(const std::string& arguments, int* status) {
    std::string command = std::string(CODELIB_PROGRAM) + " " + arguments + " 2>&1";
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

TEST_F(CodelibProgram, ChinesePathsAreTheFileSystemsBytes) {
  // UTF-8 bytes are never stepped through as GBK: the dot after "库" stays a dot.
  int status = 0;
  const std::string library = utf8(u8"\u5e93.edb");         // 库.edb
  const std::string bare = utf8(u8"\u4ed3");                // 仓
  const std::string folder = path(utf8(u8"\u76ee\u5f55"));  // 目录
  fs::create_directory(folder);
  run("create '" + folder + "/" + library + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(fs::exists(folder + "/" + library));
  EXPECT_TRUE(fs::exists(folder + utf8(u8"/\u5e93.EDT")));
  run("create '" + folder + "/" + bare + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(fs::exists(folder + "/" + bare + ".EDB"));
  EXPECT_TRUE(fs::exists(folder + "/" + bare + ".EDT"));
  EXPECT_EQ(run("check '" + folder + "/" + library + "'", &status).substr(0, 58),
            "records=0 fields=7 record_size=604 blocks=1 free_blocks=0\n");
  EXPECT_EQ(run("check '" + folder + "/" + bare + "'", &status).substr(0, 58),
            "records=0 fields=7 record_size=604 blocks=1 free_blocks=0\n");
  EXPECT_EQ(run("dump '" + folder + utf8(u8"/\u65e0.edb'"), &status),
            "codelib: " + folder + utf8(u8"/\u65e0.edb not found (No such file or directory)\n"));
  EXPECT_EQ(status, 1);
  EXPECT_EQ(run("", &status).substr(0, 45), "usage: codelib create|check|dump|repair PATH\n");
  EXPECT_EQ(status, 2);
}
#endif

}  // namespace
