// Under Wine, in a process that never attaches a skin: empty skin data and every kind of
// bad block leave every window as it looks, and no window is taken under a skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin_test_window.h"
#include "window_driver.h"

namespace {

struct Look {
  COLORREF caption, frame_edge, edit_corner, check_text_area;
};

Look look_of(const TestWindow& w) {
  const CaptionRows rows = caption_rows(w.frame);
  RECT r;
  GetWindowRect(w.frame, &r);
  return {pixel_of(w.frame, (r.right - r.left) / 2, rows.top + 1), pixel_of(w.frame, 0, 100),
          pixel_of(w.edit, 0, 0), pixel_of(w.check, 2, 8)};
}

bool same(const Look& a, const Look& b) {
  return a.caption == b.caption && a.frame_edge == b.frame_edge && a.edit_corner == b.edit_corner &&
         a.check_text_area == b.check_text_area;
}

std::string with_length(std::string block, uint32_t length) {
  for (int i = 0; i < 4; ++i) block[8 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
  return block;
}

TEST(SkinRefusal, EmptyAndBadDataChangeNothing) {
  ASSERT_NE(skin_library(), nullptr) << "SkinH_EL.dll or its entry point is missing";
  TestWindow w = create_test_window(20, 20, L"Refusals");
  pump_for(200);
  const Look before = look_of(w);

  EXPECT_EQ(skin_library()(nullptr, 0, "", 0, 0, 0), kNothingToAttach)
      << "empty skin data (null, 0)";

  const std::string good = write_skin(distinct_skin(0));
  std::string crc_broken = good;
  crc_broken[20] ^= 1;
  std::mt19937 random(3);
  std::string noise(300, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const struct {
    const char* name;
    std::string block;
  } bad[] = {
      {"short", good.substr(0, 10)},
      {"cut", good.substr(0, good.size() - 7)},
      {"wrong tag", "SHE." + good.substr(4)},
      {"length past the end", with_length(good, static_cast<uint32_t>(good.size() + 100))},
      {"length far past the end", with_length(good, 0xFFFFFFF0u)},
      {"damaged", crc_broken},
      {"noise", noise},
      {"tag and noise", ".SHE" + noise},
  };
  for (const auto& b : bad) {
    EXPECT_EQ(attach(b.block), kRefused) << b.name;
  }
  EXPECT_EQ(skin_library()(good.data(), -5, "", 0, 0, 0), kBadArguments) << "negative length";
  EXPECT_EQ(skin_library()(nullptr, 5, "", 0, 0, 0), kBadArguments) << "a length without data";

  InvalidateRect(w.frame, nullptr, TRUE);
  RedrawWindow(w.frame, nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pump_for(200);
  EXPECT_TRUE(same(look_of(w), before)) << "the window looks different after refused data";
  for (HWND hwnd : {w.frame, w.edit, w.push, w.check, w.group, w.combo, w.list}) {
    EXPECT_FALSE(taken_by_skin(hwnd)) << "a window was taken under a skin that was refused";
  }
  TestWindow later = create_test_window(480, 20, L"Later");
  EXPECT_FALSE(taken_by_skin(later.frame)) << "a later window was taken under a refused skin";
  DestroyWindow(later.frame);
  DestroyWindow(w.frame);
  drain_messages();
}

}  // namespace
