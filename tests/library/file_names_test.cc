// Which titles may name a delivered file in the program folder.
#include "library/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FileNames, PlainNamesAreAccepted) {
  const std::string names[] = {
      "超级列表框增强模块.rar",
      "文件 管理 工具源码.e",
      "a.b.c.rar",
      " lead.rar",
      "..rar",  // a title "." still names a plain file "..rar"
      "CONSOLE.rar",
      "COM10.e",
      "LPT.rar",
      "nul1.rar",      // near the device names, not them
      "\x95\x5C.rar",  // a GBK character whose second byte is the backslash's code
      "x\x7F.rar",
  };
  for (const std::string& name : names) {
    EXPECT_TRUE(fits_plain_file_name(name)) << name;
  }
}

TEST(FileNames, HostileNamesAreRefused) {
  const std::string names[] = {
      "",
      "..\\..\\x.rar",
      "../x.rar",
      "a/b.rar",
      "C:\\x.rar",
      "C:x.rar",
      "\\\\server\\share\\x.rar",
      "CON.rar",
      "con.e",
      "NUL.rar",
      "Nul.tar.rar",
      "AUX.rar",
      "PRN.rar",
      "COM1.rar",
      "com9.e",
      "LPT1.rar",
      "lpt0.rar",
      "CONIN$.rar",
      "conout$.e",
      "CLOCK$.rar",
      "CON .rar",  // Windows drops the blanks before the extension
      "NUL",       // a device without an extension
      "x.",        // trailing dot and blank: Windows would drop them
      "x ",
      "a<b.rar",
      "a>b.rar",
      "a\"b.rar",
      "a|b.rar",
      "a?b.rar",
      "a*b.rar",
      std::string("a\tb.rar"),
      std::string("a\nb.rar"),
      std::string("a\x01.rar"),
      "x\x81",      // half a character at the end
      "\x80x.rar",  // a byte no GBK character begins with
      "\xFFx.rar",
      "\x81\x30.rar",  // a lead byte without a trail byte after it
      "\xB0\x7F.rar",
  };
  for (const std::string& name : names) {
    EXPECT_FALSE(fits_plain_file_name(name)) << name;
  }
}

TEST(FileNames, NamesAndPathsWithinWhatWindowsTakes) {
  std::string chinese_255;  // 510 bytes, 255 UTF-16 units
  for (int i = 0; i < 255; ++i) chinese_255 += "源";
  const struct {
    std::string name;
    size_t folder_units;
    bool fits;
  } cases[] = {
      {std::string(255, 'a'), 3, true},  // the longest name
      {std::string(256, 'a'), 3, false},
      {chinese_255, 3, true},  // counted in characters, not in bytes
      {chinese_255 + "x", 3, false},
      {std::string(100, 'a'), 158, true},  // 158 + "\\" + 100 = 259, the longest path
      {std::string(100, 'a'), 159, false},
      {std::string(10, 'a'), 300, false},  // a folder deeper than any path may be
      {"a\\b", 3, false},                  // and still a plain name
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fits_in_folder(c.name, c.folder_units), c.fits)
        << c.name.size() << " bytes in a folder of " << c.folder_units;
  }
  EXPECT_FALSE(fits_plain_file_name(std::string(256, 'a')));
}

}  // namespace
