#include "search/run_search.h"

#include "library/library_texts.h"
#include "library/local_search.h"
#include "text/text.h"

void run_search(WindowPort& window, const LibraryContext& context,
                const StartWebSearch& start_web_search) {
  if (trim_spaces(window.control_text(Control::编辑框1)).empty()) {
    window.message_box(kAskKeywordAgain, kBoxIconInformation, kCaptionHint);
    return;
  }
  if (window.is_checked(Control::选择框2)) {
    window.set_current_page(kLibraryPage);
    // Read again: the list doesn't change, the web's rows go below what it shows.
    const std::string keyword = trim_spaces(window.control_text(Control::编辑框1));
    if (start_web_search) start_web_search(keyword);
  } else if (window.is_checked(Control::选择框1)) {
    window.set_current_page(kLibraryPage);
    // The library is searched for the keyword as typed, spaces and all.
    search_library(window, context);
  } else {
    window.message_box(kAskSearchArea, kBoxIconInformation, kCaptionHint);
  }
}
