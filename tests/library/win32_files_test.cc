// The local disks over Win32, as the program has them: names GBK can't hold, reparse
// points, pipes, files past 2 GiB.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <thread>

#include "app/local_files_win32.h"
#include "library/file_texts.h"
#include "library/source_import.h"
#include "library_test_support.h"
#include "win32/code_page.h"

namespace {

class Win32FilesTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    std::string root = path("tree");
    std::replace(root.begin(), root.end(), '/', '\\');
    root_ = win32::widen(root);
    CreateDirectoryW(root_.c_str(), nullptr);
  }
  std::wstring at(const std::wstring& name) const { return root_ + L"\\" + name; }
  static void put(const std::wstring& file, const std::string& content) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(handle);
  }
  static LocalPath local(const std::wstring& wide) {
    return {win32::narrow(wide), win32::narrow_utf8(wide)};
  }

  Win32LocalFiles files_;
  std::wstring root_;
};

TEST(Win32Entries, AsTheListingDescribesThem) {
  constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;
  constexpr DWORD kReparse = FILE_ATTRIBUTE_REPARSE_POINT;
  struct Case {
    const wchar_t* name;
    DWORD attributes, tag, size_high, size_low;
    bool folder, link, lossy;
    int64_t size;
    const char* what;
  };
  const Case cases[] = {
      {L"j", kFolder | kReparse, 0xA0000003, 0, 0, true, true, false, 0, "a junction"},
      {L"s", kFolder | kReparse, 0xA000000C, 0, 0, true, true, false, 0, "a link to a folder"},
      {L"s.e", kReparse, 0xA000000C, 0, 9, false, true, false, 9, "a link to a file"},
      {L"l", kFolder | kReparse, 0xA000001D, 0, 0, true, true, false, 0, "a Linux link"},
      {L"c", kFolder | kReparse, 0x9000601A, 0, 0, true, false, false, 0, "a cloud folder"},
      {L"c.e", kReparse, 0x9000001A, 0, 5, false, false, false, 5, "a cloud placeholder"},
      {L"d.e", kReparse, 0x80000013, 0, 7, false, false, false, 7, "a deduplicated file"},
      {L"f", kFolder, 0xA0000003, 0, 0, true, false, false, 0, "no reparse point: no tag"},
      {L"big.e", 0, 0, 1, 0x80000000u, false, false, false, (int64_t{3} << 31), "past 4 GiB"},
      {L"\u66F2\u266B.e", 0, 0, 0, 1, false, false, true, 1, "a name with no GBK form"},
  };
  for (const Case& c : cases) {
    WIN32_FIND_DATAW found = {};
    found.dwFileAttributes = c.attributes;
    found.dwReserved0 = c.tag;
    found.nFileSizeHigh = c.size_high;
    found.nFileSizeLow = c.size_low;
    wcscpy(found.cFileName, c.name);
    const LocalEntry entry = local_entry_of(found);
    EXPECT_EQ(entry.is_folder, c.folder) << c.what;
    EXPECT_EQ(entry.is_link, c.link) << c.what;
    EXPECT_EQ(entry.name_lossy, c.lossy) << c.what;
    EXPECT_EQ(entry.size, c.size) << c.what;
    EXPECT_EQ(entry.native_name, win32::narrow_utf8(c.name)) << c.what;
  }
}

TEST_F(Win32FilesTest, NamesGbkCantHoldAreListedReadAndNeverTakenAsPresent) {
  put(at(L"\u66F2\u266B.e"), "one");  // 曲♫.e
  put(at(L"\u66F2\u266A.e"), "two");  // 曲♪.e
  std::vector<LocalEntry> entries;
  ASSERT_TRUE(files_.list_folder(local(root_), &entries));
  std::vector<std::string> natives;
  for (const LocalEntry& entry : entries) {
    if (entry.is_folder) continue;
    EXPECT_EQ(entry.name, "曲?.e");
    EXPECT_TRUE(entry.name_lossy);
    natives.push_back(entry.native_name);
  }
  std::sort(natives.begin(), natives.end());
  EXPECT_EQ(natives,
            (std::vector<std::string>{"\xE6\x9B\xB2\xE2\x99\xAA.e", "\xE6\x9B\xB2\xE2\x99\xAB.e"}));

  struct Quiet final : ImportObserver {};
  Quiet quiet;
  SourceImport import(files_, lib_, quiet);
  ASSERT_TRUE(import.open());
  import.import_folder(local(root_));
  import.close();
  EXPECT_EQ(import.counts().added, 1);
  EXPECT_EQ(import.counts().unsaved_names, 1);
  EXPECT_EQ(import.counts().present, 0);
  const std::string tune = attachment_of("曲?");
  EXPECT_TRUE(tune == "one" || tune == "two") << "read by its own name: " << tune;
}

TEST_F(Win32FilesTest, AFilePastTwoGibibytesBySize) {
  const std::wstring file = at(L"large.e");
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  // Nothing is written: the file is only given its length.
  LARGE_INTEGER size = {};
  size.QuadPart = LONGLONG{3} << 30;
  const bool sized = SetFilePointerEx(handle, size, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
  CloseHandle(handle);
  if (!sized) GTEST_SKIP() << "no room for a file of 3 GiB here";
  EXPECT_EQ(file_size_text(files_, local(file)), "3072 MB");
  DeleteFileW(file.c_str());
}

TEST_F(Win32FilesTest, OnlyPlainFilesAreReadOrWritten) {
  const std::wstring pipe_name =
      L"\\\\.\\pipe\\moyan_files_test_" + std::to_wstring(GetCurrentProcessId());
  HANDLE pipe = CreateNamedPipeW(pipe_name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                 PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  put(at(L"plain.e"), "plain");
  struct Case {
    std::wstring path;
    ReadOutcome read;
    bool written;
  };
  const Case cases[] = {
      {at(L"plain.e"), ReadOutcome::kRead, true},
      {root_, ReadOutcome::kUnreadable, false},  // a folder
      {pipe_name, ReadOutcome::kUnreadable, false},
  };
  for (const Case& c : cases) {
    ByteSet bytes;
    ReadOutcome read = ReadOutcome::kRead;
    bool written = !c.written;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      read = files_.read_file(local(c.path), 1 << 20, &bytes);
      written = files_.write_file(local(c.path), ByteSet(std::string("new")));
      done = true;
    });
    for (int waited_ms = 0; !done && waited_ms < 10000; waited_ms += 5) Sleep(5);
    EXPECT_TRUE(done) << win32::narrow_utf8(c.path) << ": waited on a pipe";
    // A reader left waiting on the pipe lets go when the pipe is closed.
    if (!done) DisconnectNamedPipe(pipe);
    worker.join();
    EXPECT_EQ(read, c.read) << win32::narrow_utf8(c.path);
    EXPECT_EQ(written, c.written) << win32::narrow_utf8(c.path);
  }
  CloseHandle(pipe);
}

}  // namespace
