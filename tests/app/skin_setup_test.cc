// Under Wine: the skin library written beside a program at its first start and left alone
// later, the fatal error box when it can't be had, and the six arguments of each attach.
// Each case starts skin_start_helper (the program's own set-up, carrying the library that
// writes down its calls) from a folder of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/carried_data.h"
#include "app/fatal_error.h"
#include "app/skin_setup.h"
#include "skin/skin_data.h"
#include "started_program.h"
#include "win32/code_page.h"
#include "window_driver.h"

namespace {

constexpr wchar_t kLibrary[] = L"SkinH_EL.dll";

struct Start {
  std::optional<DWORD> exit_code;
  std::wstring box_text;  // the fatal error box's text, when one came
  std::wstring box_caption;
};

// Starts the helper copied into `folder` and answers a fatal error box if one comes.
Start start_in(const TempFolder& folder, const std::wstring& numbers,
               const std::vector<std::pair<std::wstring, std::wstring>>& environment = {}) {
  const std::wstring helper = folder / L"skin_start_helper.exe";
  CopyFileW(beside_tests(L"skin_start_helper.exe").c_str(), helper.c_str(), FALSE);
  std::vector<std::pair<std::wstring, std::wstring>> values = environment;
  values.push_back({L"MOYAN_SKIN_CALL_LOG", folder / L"calls.txt"});
  StartedProgram program(helper, numbers, values);
  Start start;
  if (!program.started()) return start;
  // It ends by itself, or shows the fatal error box and ends when that is answered.
  for (int waited = 0; waited < 10000 && !start.exit_code; waited += 50) {
    start.exit_code = program.wait(50);
    if (start.exit_code) break;
    if (HWND box = wait_for_window_of(program.id(), L"#32770", 0)) {
      start.box_caption = window_text_of(box);
      wchar_t text[512] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 512);
      start.box_text = text;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      start.exit_code = program.wait(10000);
    }
  }
  return start;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

DWORD attributes(const std::wstring& path) {
  return GetFileAttributesW(path.c_str());
}

// The library the helper carries: the one that writes down its calls.
std::string carried_library() {
  return std::string(carried_skin_library());
}

TEST(SkinSetup, FirstStartWritesTheLibraryHiddenBesideTheProgram) {
  TempFolder folder;
  const Start start = start_in(folder, L"13");
  EXPECT_EQ(start.exit_code, std::optional<DWORD>(0));
  const std::wstring library = folder / kLibrary;
  const DWORD attr = attributes(library);
  ASSERT_NE(attr, INVALID_FILE_ATTRIBUTES) << "no SkinH_EL.dll beside the program";
  EXPECT_TRUE(attr & FILE_ATTRIBUTE_HIDDEN) << "the library is not hidden";
  EXPECT_FALSE(attr & FILE_ATTRIBUTE_READONLY) << "the library is read-only";
  // Hidden alone; Wine shows every file as archived whatever was set.
  EXPECT_EQ(attr & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), DWORD{FILE_ATTRIBUTE_HIDDEN})
      << "attributes " << attr;
  ASSERT_FALSE(carried_library().empty());
  EXPECT_EQ(file_bytes(library).size(), carried_library().size()) << "the library's size";
  EXPECT_TRUE(file_bytes(library) == carried_library()) << "the library's bytes";
  EXPECT_EQ(attributes(folder / L"SkinH_EL.dll.part"), INVALID_FILE_ATTRIBUTES)
      << "the file written first was left behind";
}

TEST(SkinSetup, LaterStartLeavesTheLibraryAndItsAttributes) {
  TempFolder folder;
  ASSERT_EQ(start_in(folder, L"13").exit_code, std::optional<DWORD>(0));
  const std::wstring library = folder / kLibrary;
  // Another library of the same name and other attributes: a later start neither
  // replaces it nor checks it, and attaches through it.
  SetFileAttributesW(library.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(CopyFileW(beside_tests(L"shipped/SkinH_EL.dll").c_str(), library.c_str(), FALSE));
  const std::string other = file_bytes(library);
  ASSERT_NE(other, carried_library());
  const DWORD set = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  SetFileAttributesW(library.c_str(), set);
  const DWORD before = attributes(library);
  DeleteFileW((folder / L"calls.txt").c_str());

  EXPECT_EQ(start_in(folder, L"13").exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(attributes(library), before) << "the attributes changed";
  EXPECT_TRUE(file_bytes(library) == other) << "the library was replaced";
  EXPECT_EQ(attributes(folder / L"calls.txt"), INVALID_FILE_ATTRIBUTES)
      << "the carried library was used instead of the one there";
  SetFileAttributesW(library.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::wstring expected_box_text() {
  return win32::widen(fatal_error_text(
      std::nullopt, missing_entry_point_message("SkinH_EL.dll", "SkinH_AttachRes")));
}

// Whatever stands under the library's name is left as it is; when it is no library with the
// entry point, the program ends through the fatal error box.
TEST(SkinSetup, NoLibraryOrNoEntryPointEndsTheProgramThroughTheFatalBox) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const struct {
    const char* name;
    bool folder;               // a folder of the library's name, else a file
    std::wstring copied_from;  // the file put there
  } cases[] = {
      {"a folder named SkinH_EL.dll", true, L""},
      {"a library without the entry point", false, std::wstring(system) + L"\\version.dll"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const std::wstring library = folder / kLibrary;
    if (c.folder) {
      ASSERT_TRUE(CreateDirectoryW(library.c_str(), nullptr)) << c.name;
    } else {
      ASSERT_TRUE(CopyFileW(c.copied_from.c_str(), library.c_str(), FALSE)) << c.name;
    }
    const std::string before = c.folder ? std::string() : file_bytes(library);
    const Start start = start_in(folder, L"13");
    EXPECT_EQ(start.box_caption, L"错误") << c.name << ": no fatal error box, or another caption";
    EXPECT_EQ(start.box_text, expected_box_text()) << c.name;
    EXPECT_EQ(start.exit_code, std::optional<DWORD>(static_cast<DWORD>(-1))) << c.name;
    const DWORD attr = attributes(library);
    ASSERT_NE(attr, INVALID_FILE_ATTRIBUTES) << c.name << ": it is gone";
    EXPECT_EQ((attr & FILE_ATTRIBUTE_DIRECTORY) != 0, c.folder) << c.name << ": it changed kind";
    if (!c.folder) {
      EXPECT_TRUE(file_bytes(library) == before) << c.name << ": it was replaced";
    }
    EXPECT_EQ(attributes(folder / L"calls.txt"), INVALID_FILE_ATTRIBUTES)
        << c.name << ": a library was called";
  }
}

// The library is loaded by its full path: when it can't be written beside the program (here
// the name it is first written under is taken by a folder), a library of the same name
// elsewhere on the search path (here on PATH) is never loaded in its place.
TEST(SkinSetup, ALibraryElsewhereOnThePathIsNeverLoaded) {
  TempFolder folder, elsewhere;
  ASSERT_TRUE(CreateDirectoryW((folder / L"SkinH_EL.dll.part").c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(beside_tests(L"recording/SkinH_EL.dll").c_str(),
                        (elsewhere / kLibrary).c_str(), FALSE));
  wchar_t path[32767] = {};
  GetEnvironmentVariableW(L"PATH", path, 32767);
  const Start start = start_in(folder, L"13", {{L"PATH", elsewhere.path() + L";" + path}});
  EXPECT_EQ(attributes(folder / kLibrary), INVALID_FILE_ATTRIBUTES) << "a library was written";
  EXPECT_EQ(start.box_text, expected_box_text());
  EXPECT_EQ(start.exit_code, std::optional<DWORD>(static_cast<DWORD>(-1)));
  EXPECT_EQ(attributes(folder / L"calls.txt"), INVALID_FILE_ATTRIBUTES)
      << "the library found on PATH was loaded";
}

TEST(SkinSetup, EachAttachPassesTheSixArgumentsOfTheTable) {
  TempFolder folder;
  EXPECT_EQ(start_in(folder, L"0 34 13 -1 33").exit_code, std::optional<DWORD>(0));
  const std::string empty =
      "address=null length=0 text_address=set text= reserved=0,0,0 crc=00000000";
  auto with_skin = [](int number) {
    const std::string_view block = carried_skin(number);
    char crc[16];
    std::snprintf(crc, sizeof(crc), "%08x", static_cast<unsigned>(skin_crc32(block)));
    return "address=set length=" + std::to_string(block.size()) +
           " text_address=set text= reserved=0,0,0 crc=" + crc;
  };
  const std::vector<std::string> expected = {empty, empty, with_skin(13), empty, with_skin(33)};
  const std::vector<std::string> calls = lines_of(file_bytes(folder / L"calls.txt"));
  ASSERT_EQ(calls.size(), expected.size()) << "one call per apply_skin";
  const char* numbers[] = {"0", "34", "13", "-1", "33"};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(calls[i], expected[i]) << "skin number " << numbers[i];
  }
}

}  // namespace
