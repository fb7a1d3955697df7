#ifndef MOYAN_SEARCH_DETAIL_PAGE_H_
#define MOYAN_SEARCH_DETAIL_PAGE_H_

#include <string>
#include <string_view>

// Values cut out of a source site's detail page, each between its row's markers (ASCII
// letter case ignored); empty when a marker is missing.
std::string read_rating(std::string_view detail_page);       // the row "评论等级："
std::string read_file_size(std::string_view detail_page);    // the row "文件大小："
std::string read_update_time(std::string_view detail_page);  // the row "更新时间："

struct DetailValues {
  std::string rating;
  std::string size;
  std::string update_time;
};
DetailValues read_detail_values(std::string_view detail_page);

#endif  // MOYAN_SEARCH_DETAIL_PAGE_H_
