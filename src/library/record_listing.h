#ifndef MOYAN_LIBRARY_RECORD_LISTING_H_
#define MOYAN_LIBRARY_RECORD_LISTING_H_

#include <functional>

#include "library/pacing.h"
#include "store/store.h"
#include "ui/dialogs.h"
#include "ui/message_pump.h"
#include "ui/result_list.h"

// The result-list row of the current store's current record: 标题, 大小, 星级, 更新时间
// and 非下载地址 (columns 1 to 5; column 0 is the row's number).
ResultList::RowTexts current_record_row();

// `fill_result_row`: appends a row for the current record, numbered by the list's count.
void fill_result_row(ResultList& list);

// Lists in the result list every record of the current store, from the cursor on, whose
// condition holds (a category listing and the local search), in store order and numbered
// from the list's count, as a loop of find_record, fill_result_row and go_to_record would:
// records appended meanwhile by any opener are listed too when they match, and a record
// that can't be read ends the listing, every match before it listed. Says where reading
// stopped, if it did: the listing is then short of what the library holds.
//
// Rows are handed to the list and the window's messages run at the first match and then
// as `pacing` says, always right after a row, with the cursor on that row's record. So
// the first rows show at once and the window answers throughout, and a handler that runs
// in between finds the list and the cursor as after that row. When such a handler closes
// the store, the listing ends there.
ReadStop list_records(ResultList& list, MessagePump& pump, const std::function<bool()>& matches,
                      Pacing pacing);

// After a listing that stopped at a record it couldn't read: a message box saying the
// list is short, and why (the library is closed by then, so no other opener waits on it
// while the box is up).
void say_if_short(Dialogs& dialogs, const ReadStop& stop);

#endif  // MOYAN_LIBRARY_RECORD_LISTING_H_
