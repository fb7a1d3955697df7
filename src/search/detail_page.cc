#include "search/detail_page.h"

#include "text/text.h"

namespace {

// The rows as the source site writes them: exact runs of spaces, "\r\n" line breaks and
// full-width colons (A3 BA). The value follows one space after the cell's opening tag.

// Ten spaces, "<th>评论等级：</th>", a line break, ten spaces, `<td class="c_orange">`, a space.
constexpr std::string_view kRatingStart =
    "          <th>\xC6\xC0\xC2\xDB\xB5\xC8\xBC\xB6\xA3\xBA</th>\r\n"
    "          <td class=\"c_orange\"> ";
// Nine spaces, "<th>文件大小：</th>", a line break, ten spaces, "<td>", a space.
constexpr std::string_view kFileSizeStart =
    "         <th>\xCE\xC4\xBC\xFE\xB4\xF3\xD0\xA1\xA3\xBA</th>\r\n"
    "          <td> ";
// "<th>更新时间：</th>", a line break, ten spaces, "<td>", a space.
constexpr std::string_view kUpdateTimeStart =
    "<th>\xB8\xFC\xD0\xC2\xCA\xB1\xBC\xE4\xA3\xBA</th>\r\n"
    "          <td> ";
// Every row ends the same way: "</td>", a line break, eight spaces, "</tr>".
constexpr std::string_view kRowEnd = "</td>\r\n        </tr>";

}  // namespace

std::string read_rating(std::string_view detail_page) {
  return text_between(detail_page, kRatingStart, kRowEnd);
}

std::string read_file_size(std::string_view detail_page) {
  return text_between(detail_page, kFileSizeStart, kRowEnd);
}

std::string read_update_time(std::string_view detail_page) {
  return text_between(detail_page, kUpdateTimeStart, kRowEnd);
}

DetailValues read_detail_values(std::string_view detail_page) {
  return {read_rating(detail_page), read_file_size(detail_page), read_update_time(detail_page)};
}
