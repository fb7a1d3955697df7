#include "app/announcement.h"

#include "text/text.h"

const char kAnnouncementStart[] = "公告首｛";
const char kAnnouncementEnd[] = "｝公告尾";

std::string announced_text(std::string_view page) {
  return text_between_quoted(page, kAnnouncementStart, kAnnouncementEnd);
}
