#ifndef MOYAN_APP_ANNOUNCEMENT_H_
#define MOYAN_APP_ANNOUNCEMENT_H_

#include <string>
#include <string_view>

// The announcement page's markers: the announced text stands between them. The braces
// are full-width (GBK A3 FB and A3 FD).
extern const char kAnnouncementStart[];  // "公告首｛"
extern const char kAnnouncementEnd[];    // "｝公告尾"

// The announced text of a page: what follows the first start marker up to the next end
// marker (ASCII letter case ignored), as it stands; empty when either is missing.
std::string announced_text(std::string_view page);

#endif  // MOYAN_APP_ANNOUNCEMENT_H_
