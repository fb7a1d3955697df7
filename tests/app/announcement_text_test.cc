#include "app/announcement.h"

#include <gtest/gtest.h>

namespace {

TEST(AnnouncedText, IsWhatStandsBetweenTheFirstMarkers) {
  const struct {
    const char* name;
    const char* page;
    const char* announced;
  } cases[] = {
      {"markers once", "<p>公告首｛10001｝公告尾</p>", "10001"},
      {"blanks, markup and line breaks as they stand", "公告首｛ <b>1 2</b>\r\n3\n｝公告尾",
       " <b>1 2</b>\r\n3\n"},
      {"markers twice: the first pair", "公告首｛1｝公告尾公告首｛2｝公告尾", "1"},
      {"start marker without end marker", "公告首｛1", ""},
      {"end marker only before the start marker", "｝公告尾x公告首｛1", ""},
      {"nothing between", "公告首｛｝公告尾", ""},
      {"no markers", "<html>公告</html>", ""},
      {"half-width braces are no markers", "公告首{1}公告尾", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(announced_text(c.page), c.announced) << c.name;
  }
}

}  // namespace
