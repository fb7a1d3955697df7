#ifndef MOYAN_SEARCH_DELIVERY_H_
#define MOYAN_SEARCH_DELIVERY_H_

#include <string>

#include "search/web_services.h"
#include "ui/window_port.h"

// Handing out the entry behind a row of the result list: its stored attachment written
// into the program folder at once, or, for an entry without one, its package downloaded
// from the source site after a question, kept in the entry and written as a file.

// What the user is told where the entry can't be handed out (information boxes, caption
// kNoticeCaption).
inline constexpr char kNoticeCaption[] = "\xCC\xE1\xCA\xBE";  // "提示"
// The library can't be opened.
inline constexpr char kLibraryUnavailableText[] =
    "\xB4\xF2\xB2\xBB\xBF\xAA\xD4\xB4\xC2\xEB\xBF\xE2,\xC3\xBB\xD3\xD0\xC8\xA1\xB3\xF6\xD4\xB4"
    "\xC2\xEB";  // "打不开源码库,没有取出源码"
// The library holds no entry under the row's title.
inline constexpr char kEntryNotHeldText[] =
    "\xD4\xB4\xC2\xEB\xBF\xE2\xD6\xD0\xC3\xBB\xD3\xD0\xD5\xE2\xB8\xF6\xD4\xB4\xC2\xEB";
// "源码库中没有这个源码"
// No package link was found, the link leads back to the site itself, or the package came
// back empty or as an error page: nothing is stored or written.
inline constexpr char kDownloadFailedText[] =
    "\xD4\xB4\xC2\xEB\xB0\xFC\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC,\xC7\xEB\xC9\xD4\xBA\xF3\xD4\xD9"
    "\xCA\xD4";  // "源码包下载失败,请稍后再试"
// The title can't name a plain file in the program folder: nothing is written.
inline constexpr char kTitleNotAFileNameText[] =
    "\xB4\xCB\xD4\xB4\xC2\xEB\xB5\xC4\xB1\xEA\xCC\xE2\xB2\xBB\xC4\xDC\xD3\xC3\xD7\xF7\xCE\xC4\xBC"
    "\xFE\xC3\xFB,\xC3\xBB\xD3\xD0\xD0\xB4\xB3\xF6\xCE\xC4\xBC\xFE";
// "此源码的标题不能用作文件名,没有写出文件"

// `open_selected_entry`, the result list's double-click handler: starts a worker that
// delivers the selected row's entry (nothing waits for it) and redraws the list at once.
void open_selected_entry(WindowPort& window, const WebServices& services);

// `deliver_entry`, the worker's body, for row `row` of the result list (-1 or a row that
// no longer exists does nothing). The row's title and address are read together at its
// start. Questions and notices are message boxes without an owner.
void deliver_entry(WindowPort& window, const WebServices& services, int row);

#endif  // MOYAN_SEARCH_DELIVERY_H_
