// The import over a real folder tree on Linux: links, names GBK can't hold, files that
// can't be read, pipes, folders that can't be searched, trees deeper than paths reach.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "library/file_texts.h"
#include "library/local_files_posix.h"
#include "library/source_import.h"
#include "library_test_support.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/gbk_unicode.h"

namespace {

namespace fs = std::filesystem;

// What an import told: "<outcome> <path below the tree>", in its order.
struct Told final : ImportObserver {
  explicit Told(std::string tree) : root(std::move(tree)) {}
  void folder_unlisted(const LocalPath& folder) override { say("unlisted", folder); }
  void entry_unexamined(const LocalPath& path, const LocalEntry& entry) override {
    say("unexamined", path);
    problems.push_back(entry.problem);
  }
  void file_done(const std::string&, const LocalPath& file, ImportedFile result,
                 const Status&) override {
    const char* kinds[] = {"added",      "added-empty", "present",
                           "not-stored", "unchecked",   "name-unsaved"};
    say(kinds[static_cast<int>(result)], file);
  }
  void say(const char* what, const LocalPath& path) {
    const std::string below =
        path.native.rfind(root, 0) == 0 ? path.native.substr(root.size() + 1) : path.native;
    lines.push_back(std::string(what) + " " + below);
  }
  std::string root;
  std::vector<std::string> lines, problems;
};

// Runs `work` on a thread of its own that has given up the capabilities that let root
// pass permission bits (capabilities belong to a thread), so that those bits hold there
// as for anyone. False when they couldn't be given up.
bool run_as_permission_bits_say(const std::function<void()>& work) {
  bool dropped = false;
  std::thread([&] {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0) return;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
      data[cap / 32].effective &= ~(1u << (cap % 32));
    }
    if (syscall(SYS_capset, &header, data) != 0) return;
    dropped = true;
    work();
  }).join();
  return dropped;
}

// Removes a folder of any depth, by handles rather than by paths, which stop at PATH_MAX.
void remove_below(int parent, const char* name) {
  const int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    DIR* dir = fdopendir(fd);
    while (const dirent* found = readdir(dir)) {
      const std::string child = found->d_name;
      if (child == "." || child == "..") continue;
      if (unlinkat(fd, child.c_str(), 0) != 0) remove_below(fd, child.c_str());
    }
    closedir(dir);
  }
  unlinkat(parent, name, AT_REMOVEDIR);
}

// Runs `work`; when it hasn't ended within seconds, it waits on the pipe at `fifo`, which
// is then opened at both ends and closed again until it lets go. False in that case.
bool ends_without_waiting_on(const std::string& fifo, const std::function<void()>& work) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    work();
    done = true;
  });
  for (int waited_ms = 0; !done && waited_ms < 10000; waited_ms += 5) usleep(5000);
  const bool ended = done;
  while (!done) {
    const int both = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    if (both >= 0) close(both);
    usleep(20000);
  }
  worker.join();
  return ended;
}

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
  std::string at(const std::string& relative) const { return root_ + "/" + relative; }
  LocalPath local_path(const std::string& relative) const {
    const std::string native = relative.empty() ? root_ : at(relative);
    return {utf8_to_gbk(native), native};
  }
  ImportCounts import_tree(Told* told = nullptr) {
    Told quiet(root_);
    SourceImport import(posix_, lib_, told != nullptr ? *told : quiet);
    EXPECT_TRUE(import.open());
    EXPECT_TRUE(import.import_folder(local_path("")));
    import.close();
    return import.counts();
  }

  PosixLocalFiles posix_;
  std::string root_;
};

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

TEST_F(PosixImportTest, NamesThatDifferOnlyInWhatGbkLacksAreNeitherStoredTwiceNorPresent) {
  put("\xE6\x9B\xB2\xE2\x99\xAB.e", "one");  // 曲♫.e
  put("\xE6\x9B\xB2\xE2\x99\xAA.e", "two");  // 曲♪.e
  put("\xE6\x9B\xB2.e", "plain");            // 曲.e
  Told told(root_);
  ImportCounts counts = import_tree(&told);
  EXPECT_EQ(counts.added, 2);
  EXPECT_EQ(counts.present, 0);
  EXPECT_EQ(counts.unsaved_names, 1);
  const std::string tune = attachment_of("\xC7\xFA?");  // 曲?
  EXPECT_TRUE(tune == "one" || tune == "two") << tune;
  // Again: the one stored and the other both read as 曲?, and neither is taken as present.
  counts = import_tree();
  EXPECT_EQ(counts.present, 1) << "曲.e";
  EXPECT_EQ(counts.unsaved_names, 2);
  EXPECT_EQ(entries().size(), 2u);
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
  // A file of 3 GiB (holding nothing, so it takes no room) by its whole size.
  put("large.e", "");
  fs::resize_file(at("large.e"), std::uintmax_t{3} << 30);
  EXPECT_EQ(file_size_text(posix_, local_path("large.e")), "3072 MB");
}

TEST_F(PosixImportTest, OnlyPlainFilesAreReadAndWithinTheBound) {
  put("big.e", std::string(5000, 'b'));
  ASSERT_EQ(mkfifo(at("pipe.e").c_str(), 0644), 0);
  fs::create_symlink(at("pipe.e"), at("to-pipe.e"));
  fs::create_symlink(at("big.e"), at("to-big.e"));
  fs::create_symlink("/dev/null", at("null.e"));
  struct Case {
    std::string path;
    int64_t limit;
    ReadOutcome outcome;
    size_t size;
  };
  const Case cases[] = {
      {at("big.e"), 4999, ReadOutcome::kTooLarge, 0},
      {at("big.e"), 5000, ReadOutcome::kRead, 5000},
      {at("to-big.e"), 5000, ReadOutcome::kRead, 5000},
      {root_, 5000, ReadOutcome::kUnreadable, 0},  // a folder
      {at("pipe.e"), 5000, ReadOutcome::kUnreadable, 0},
      {at("to-pipe.e"), 5000, ReadOutcome::kUnreadable, 0},
      {at("null.e"), 5000, ReadOutcome::kUnreadable, 0},  // a device
      {at("gone.e"), 5000, ReadOutcome::kUnreadable, 0},
  };
  // A writer waiting on the pipe goes on as soon as anyone opens it: none of the reads may.
  std::atomic<bool> writer_went_on{false};
  std::thread writer([&] {
    const int fd = open(at("pipe.e").c_str(), O_WRONLY | O_CLOEXEC);
    writer_went_on = true;
    if (fd >= 0) close(fd);
  });
  usleep(20000);  // until it waits
  for (const Case& c : cases) {
    ByteSet bytes;
    ReadOutcome outcome = ReadOutcome::kRead;
    const bool ended = ends_without_waiting_on(at("pipe.e"), [&] {
      outcome = posix_.read_file({utf8_to_gbk(c.path), c.path}, c.limit, &bytes);
    });
    EXPECT_TRUE(ended) << c.path << ": the read waited on a pipe";
    EXPECT_EQ(outcome, c.outcome) << c.path;
    EXPECT_EQ(bytes.size(), c.size) << c.path;
  }
  usleep(20000);
  EXPECT_FALSE(writer_went_on) << "a read opened the pipe";
  const int reader = open(at("pipe.e").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  writer.join();
  close(reader);
}

TEST_F(PosixImportTest, APipeNamedLikeASourceFileDoesntHoldTheImport) {
  ASSERT_EQ(mkfifo(at("x.e").c_str(), 0644), 0);
  put("real.e", "real");
  ImportCounts counts;
  EXPECT_TRUE(ends_without_waiting_on(at("x.e"), [&] { counts = import_tree(); }))
      << "the import waited on the pipe";
  EXPECT_EQ(counts.added, 2);
  EXPECT_EQ(counts.added_empty, 1) << "the pipe: nothing read";
  EXPECT_EQ(attachment_of("real"), "real");
}

TEST_F(PosixImportTest, WritingGoesThroughNoLinkAndIntoNoPipe) {
  put("old.e", "old and longer");
  put("elsewhere/target.e", "keep");
  fs::create_symlink(at("elsewhere/target.e"), at("link.e"));
  fs::create_symlink(at("elsewhere/none.e"), at("dangling.e"));
  ASSERT_EQ(mkfifo(at("pipe.e").c_str(), 0644), 0);
  fs::create_directories(at("folder.e"));
  struct Case {
    const char* name;
    bool written;
  };
  const Case cases[] = {
      {"new.e", true},       {"old.e", true},   {"link.e", false},
      {"dangling.e", false}, {"pipe.e", false}, {"folder.e", false},
  };
  for (const Case& c : cases) {
    bool written = !c.written;
    EXPECT_TRUE(ends_without_waiting_on(
        at("pipe.e"),
        [&] { written = posix_.write_file(local_path(c.name), ByteSet(std::string("data"))); }))
        << c.name << ": the write waited on a pipe";
    EXPECT_EQ(written, c.written) << c.name;
    if (c.written) {
      EXPECT_EQ(read_file(at(c.name)), "data") << c.name;
    }
  }
  EXPECT_EQ(read_file(at("elsewhere/target.e")), "keep") << "nothing written through the link";
  EXPECT_FALSE(fs::exists(at("elsewhere/none.e"))) << "nothing made through the link";
}

TEST_F(PosixImportTest, WhatAFolderThatCantBeSearchedHoldsIsToldNotDropped) {
  put("open/a.e", "a");
  put("shut/b.e", "b");
  put("shut/notes.txt", "");
  fs::create_directories(at("shut/inner"));
  // Readable, so its names are listed; not searchable, so none can be looked at.
  ASSERT_EQ(chmod(at("shut").c_str(), 0444), 0);
  Told told(root_);
  ImportCounts counts;
  bool bits_hold = false;
  const bool ran = run_as_permission_bits_say([&] {
    struct stat facts = {};
    bits_hold = lstat(at("shut/b.e").c_str(), &facts) != 0;
    if (bits_hold) counts = import_tree(&told);
  });
  chmod(at("shut").c_str(), 0755);
  if (!ran || !bits_hold) GTEST_SKIP() << "permission bits can't be made to hold here";
  EXPECT_EQ(counts.added, 1);
  EXPECT_EQ(counts.unexamined, 2) << "b.e and inner; notes.txt would not be imported anyway";
  std::vector<std::string> lines = told.lines;
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"added open/a.e", "unexamined shut/b.e",
                                             "unexamined shut/inner"}));
  ASSERT_EQ(told.problems.size(), 2u);
  EXPECT_EQ(told.problems[0], std::strerror(EACCES));
}

TEST_F(PosixImportTest, ATreeDeeperThanPathsReachSaysWhereItStopped) {
  // Folders with names of 100 bytes: paths pass PATH_MAX some 40 levels down.
  const std::string name(100, 'd');
  int fd = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < 50 && fd >= 0; ++level) {
    mkdirat(fd, name.c_str(), 0755);
    const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
  }
  ASSERT_GE(fd, 0);
  const int bottom = openat(fd, "bottom.e", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  close(bottom);
  close(fd);
  put("top.e", "top");
  Told told(root_);
  const ImportCounts counts = import_tree(&told);
  const int tree = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  remove_below(tree, name.c_str());
  close(tree);
  EXPECT_EQ(counts.added, 1) << "top.e";
  ASSERT_EQ(counts.unexamined, 1);
  const std::string& stopped = told.lines.back();
  EXPECT_EQ(stopped.rfind("unexamined " + name + "/", 0), 0u) << stopped;
  // Where the path first reaches PATH_MAX, the bound of every path the system takes.
  const size_t length = root_.size() + 1 + stopped.size() - std::string("unexamined ").size();
  EXPECT_GE(length, size_t{PATH_MAX});
  EXPECT_LT(length, size_t{PATH_MAX} + name.size() + 1);
  EXPECT_EQ(told.problems[0], std::strerror(ENAMETOOLONG));
}

}  // namespace
