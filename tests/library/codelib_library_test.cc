// codelib's library commands: list, search, import and export, run in this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "codelib.h"
#include "faulty_files.h"
#include "library_test_support.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/gbk_unicode.h"

namespace fs = std::filesystem;

namespace {

struct Output {
  int status = 0;
  std::string out, err;
};

class CodelibLibrary : public LibraryTest {
 protected:
  Output run(const std::vector<std::string>& args) {
    std::FILE* out = std::fopen(path("out.txt").c_str(), "w+b");
    std::FILE* err = std::fopen(path("err.txt").c_str(), "w+b");
    Output result;
    result.status = run_codelib(args, out, err);
    std::fclose(out);
    std::fclose(err);
    result.out = read_file(path("out.txt"));
    result.err = read_file(path("err.txt"));
    return result;
  }
  // A text (GBK here) as the platform's command line gives it.
  static std::string arg(const std::string& gbk) {
#ifdef _WIN32
    return gbk;
#else
    return gbk_to_utf8(gbk);
#endif
  }
  static std::string utf8(const std::string& gbk) {
    return gbk_to_utf8(gbk);
  }
  // How the platform's file names and paths are joined.
  static char separator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
  }
  // One refusal: status 1, nothing printed, one line on the error stream.
  static void expect_refused(const Output& o, const std::string& says) {
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.err.find(says), std::string::npos) << o.err;
  }
};

TEST_F(CodelibLibrary, ListsEntriesAsTheResultListShowsThem) {
  add_entries({{"网络源码", "系统工具", "1.5 KB", "★★★☆☆", "2013-10-25 9:5:7", "C:\\a.e"},
               {"代码", "图形图像", "2 KB", "", "", "http://site/2.html"},
               {"源码大全", "系统工具", "", "", "", ""}});
  Output all = run({"list", lib_});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, utf8("1\t网络源码\t1.5 KB\t★★★☆☆\t2013-10-25 9:5:7\tC:\\a.e\n"
                          "2\t代码\t2 KB\t\t\thttp://site/2.html\n"
                          "3\t源码大全\t\t\t\t\n"));
  Output tools = run({"list", lib_, arg("系统工具")});
  EXPECT_EQ(tools.out, utf8("1\t网络源码\t1.5 KB\t★★★☆☆\t2013-10-25 9:5:7\tC:\\a.e\n"
                            "2\t源码大全\t\t\t\t\n"));
  EXPECT_EQ(run({"list", lib_, arg("多媒体类")}).out, "");
  expect_refused(run({"list", path("Missing.edb")}), "Missing.edb");
}

TEST_F(CodelibLibrary, ListingsThatMeetAnUnreadableRecordFailSayingWhere) {
  std::vector<std::string> titles;
  for (int i = 1; i <= 100; ++i) titles.push_back("t" + std::to_string(i));
  add_titles(titles, "系统工具");
  FaultyFiles files;
  files.fail_reads_of(lib_, 620 + 604 * 39 + 10);  // inside record 40
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"list", lib_}, std::vector<std::string>{"search", lib_, "t"}}) {
    const Output o = run(args);
    EXPECT_EQ(o.status, 1) << args[0];
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 39)
        << args[0] << ": the rows before it";
    EXPECT_EQ(o.out.substr(o.out.rfind("\n39\t") + 1), "39\tt39\t1 KB\t\t\tC:\\t39.e\n") << args[0];
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.err.find("record 40 "), std::string::npos) << o.err;
  }
}

TEST_F(CodelibLibrary, ATextThatWouldBreakItsLineIsQuoted) {
  add_entries({{"a\tb", "x", "\"1\" KB", "", "", "C:\\new\nline\r.e"},
               {"bell\x07", "x", "q\"uote", "\x7F", "", "C:\\plain.e"}});
  Output o = run({"list", lib_});
  EXPECT_EQ(o.out,
            "1\t\"a\\tb\"\t\"\\\"1\\\" KB\"\t\t\t\"C:\\\\new\\nline\\r.e\"\n"
            "2\t\"bell\\x07\"\tq\"uote\t\"\\x7f\"\t\tC:\\plain.e\n");
}

TEST_F(CodelibLibrary, SearchesTitlesAsTheLocalSearchDoes) {
  add_titles({"网络源码", "代码", "源码大全", "彩色 图像处理", "图像处理"});
  Output found = run({"search", lib_, arg("源码")});
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.out, utf8("1\t网络源码\t1 KB\t\t\tC:\\网络源码.e\n"
                            "2\t源码大全\t1 KB\t\t\tC:\\源码大全.e\n"));
  EXPECT_EQ(run({"search", lib_, arg(" 图像")}).out,
            utf8("1\t彩色 图像处理\t1 KB\t\t\tC:\\彩色 图像处理.e\n"));
  expect_refused(run({"search", lib_, arg(" \xA1\xA1")}), "blank");
}

TEST_F(CodelibLibrary, ImportsAFolderAsTheProgramDoes) {
  add_titles({"held"});
  // One candidate per folder and one subfolder per folder: the system's order of a
  // folder's entries is its own.
  fs::create_directories(path("tree/sub/deeper"));
  write_file(path("tree/a.e"), "aaa");
  write_file(path("tree/notes.txt"), "");
  write_file(path("tree/sub/b.E"), "bbb");
  write_file(path("tree/sub/deeper/held.e"), "x");
  Output o = run({"import", lib_, path("tree")});
  EXPECT_EQ(o.status, 0) << o.err;
  // The folder as given, made whole in the platform's form.
  std::string tree = path("tree");
  std::replace(tree.begin(), tree.end(), '/', separator());
  const std::string sub = tree + separator() + "sub" + separator();
  EXPECT_EQ(o.out, "added\ta\t" + tree + separator() + "a.e\n" + "added\tb\t" + sub + "b.E\n" +
                       "present\theld\t" + sub + "deeper" + separator() + "held.e\n");
  EXPECT_EQ(attachment_of("b"), "bbb");
  EXPECT_EQ(entries()[1].category, "系统工具");

  expect_refused(run({"import", lib_, path("nowhere")}), "nowhere");
  expect_refused(run({"import", path("Missing.edb"), path("tree")}), "Missing.edb");
}

TEST_F(CodelibLibrary, AnImportThatCantCheckATitleStoresNothingAndFails) {
  add_titles({"a", "held"});
  fs::create_directories(path("tree"));
  write_file(path("tree/held.e"), "again");
  FaultyFiles files;
  files.fail_reads_of(lib_, 620 + 10);  // record 1
  const Output o = run({"import", lib_, path("tree")});
  files.fail_reads_of("", 0);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out.rfind("unchecked\theld\t", 0), 0u) << o.out;
  EXPECT_NE(o.out.find("record 1 "), std::string::npos) << "says why: " << o.out;
  EXPECT_EQ(o.err.rfind("codelib: skipped ", 0), 0u) << o.err;
  EXPECT_NE(o.err.find("held.e: not stored: its title can't be checked: "), std::string::npos)
      << o.err;
  EXPECT_NE(o.err.find("\ncodelib: 1 skipped\n"), std::string::npos) << o.err;
  EXPECT_EQ(entries().size(), 2u);
}

TEST_F(CodelibLibrary, AnImportThatSkippedAnythingSaysWhatAndFails) {
  fs::create_directories(path("tree"));
  write_file(path("tree/ok.e"), "ok");
  // Too large to read (a file that takes no room): stored without its content.
  write_file(path("tree/huge.e"), "");
  fs::resize_file(path("tree/huge.e"), (std::uintmax_t{64} << 20) + 1);
  Output o = run({"import", lib_, path("tree")});
  EXPECT_EQ(o.status, 1);
  std::string huge = path("tree/huge.e");
  std::replace(huge.begin(), huge.end(), '/', separator());
  EXPECT_NE(o.out.find("added-empty\thuge\t" + huge + "\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("added\tok\t"), std::string::npos) << o.out;
  EXPECT_EQ(o.err, "codelib: skipped " + huge +
                       ": stored without its content: larger than a source file may be (64 MiB)\n"
                       "codelib: 1 skipped\n");
#ifndef _WIN32
  // A name with a tab (Linux allows one) keeps its line whole, on either stream. Of two
  // names that differ only in what GBK lacks, one is stored and the other is a skip.
  write_file(path("tree/a\tb.e"), "tab");
  write_file(path("tree/\xE6\x9B\xB2\xE2\x99\xAB\t.e"), "one");  // 曲♫\t.e
  write_file(path("tree/\xE6\x9B\xB2\xE2\x99\xAA\t.e"), "two");  // 曲♪\t.e
  o = run({"import", lib_, path("tree")});
  EXPECT_NE(o.out.find("added\t\"a\\tb\"\t\"" + path("tree/a\\tb.e\"\n")), std::string::npos)
      << o.out;
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 2) << o.err;
  EXPECT_EQ(o.err.rfind("codelib: skipped \"" + path("tree/\xE6\x9B\xB2"), 0), 0u) << o.err;
  EXPECT_NE(o.err.find("\\t.e\": not stored: its name has characters GBK can't hold"),
            std::string::npos)
      << o.err;
#endif
}

TEST_F(CodelibLibrary, ExportsAnAttachmentAsTheProgramHandsItOut) {
  ASSERT_TRUE(store_open(lib_));
  ASSERT_TRUE(append_record({{kFieldTitle, std::string("工具")},
                             {kFieldAddress, std::string("C:\\src\\工具.e")},
                             {kFieldAttachment, pack_attachment(ByteSet(std::string("source")))}}));
  ASSERT_TRUE(append_record({{kFieldTitle, std::string("包")},
                             {kFieldAddress, std::string("http://site/1.html")},
                             {kFieldAttachment, ByteSet(std::string("Rar!\x1a\x07", 6))}}));
  ASSERT_TRUE(append_record(
      {{kFieldTitle, std::string("坏")}, {kFieldAttachment, ByteSet(std::string("not packed"))}}));
  ASSERT_TRUE(append_record({{kFieldTitle, std::string("空")}}));
  store_close();
  fs::create_directories(path("out"));

  Output source = run({"export", lib_, arg("工具"), path("out")});
  EXPECT_EQ(source.status, 0) << source.err;
  EXPECT_EQ(read_file(path("out") + "/" + arg("工具.e")), "source");
  Output package = run({"export", lib_, arg("包"), path("out")});
  EXPECT_EQ(package.status, 0) << package.err;
  EXPECT_EQ(read_file(path("out") + "/" + arg("包.rar")), std::string("Rar!\x1a\x07", 6));

  expect_refused(run({"export", lib_, arg("坏"), path("out")}), "unpacked");
  expect_refused(run({"export", lib_, arg("空"), path("out")}), "no attachment");
  expect_refused(run({"export", lib_, arg("无"), path("out")}), "no entry");
  for (const char* title :
       {"a/b", "a\\b", "c:d", "x?", "..", "trailing.", "trailing ", "tab\t", "", "NUL.txt"}) {
    expect_refused(run({"export", lib_, title, path("out")}), "not a plain file name");
  }
#ifndef _WIN32
  // A link at the target's name would take the file wherever it leads.
  fs::remove(path("out") + "/" + arg("工具.e"));
  write_file(path("elsewhere"), "keep");
  fs::create_symlink(path("elsewhere"), path("out") + "/" + arg("工具.e"));
  expect_refused(run({"export", lib_, arg("工具"), path("out")}), "is a link");
  EXPECT_EQ(read_file(path("elsewhere")), "keep");
#endif
}

}  // namespace
