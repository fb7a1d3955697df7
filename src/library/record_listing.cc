#include "library/record_listing.h"

#include <utility>
#include <vector>

#include "library/library_texts.h"
#include "store/source_record.h"
#include "store/store.h"

namespace {

// Rows found but not yet on the list; handed over in one step before messages run.
class RowFeeder {
 public:
  RowFeeder(ResultList& list, MessagePump& pump, Pacing pacing)
      : list_(list), pump_(pump), pacer_(pacing) {}

  void add(ResultList::RowTexts row) {
    pending_.push_back(std::move(row));
    if (!pacer_.due()) return;
    hand_over();
    pump_.run_pending_messages();
  }

  void hand_over() {
    if (pending_.empty()) return;
    list_.append_numbered_rows(pending_);
    pending_.clear();
  }

 private:
  ResultList& list_;
  MessagePump& pump_;
  Pacer pacer_;
  std::vector<ResultList::RowTexts> pending_;
};

}  // namespace

ResultList::RowTexts current_record_row() {
  return {read_field(kFieldTitle).text(), read_field(kFieldSize).text(),
          read_field(kFieldRating).text(), read_field(kFieldUpdateTime).text(),
          read_field(kFieldAddress).text()};
}

void fill_result_row(ResultList& list) {
  list.append_numbered_row(current_record_row());
}

ReadStop list_records(ResultList& list, MessagePump& pump, const std::function<bool()>& matches,
                      Pacing pacing) {
  RowFeeder feeder(list, pump, pacing);
  int next = record_number() - 1;  // 0-based; -1 without a current store
  if (next < 0) return {};
  // One scan reads the records in large pieces under one lock each; the condition keeps
  // every match and never stops it. A scan visits the records counted when it starts, so
  // those appended during it are read by the next round.
  ReadStop stop;
  for (;;) {
    int counted = 0;
    stop.why = count_records(&counted);
    if (stop.stopped() || next >= counted) break;
    go_to_record(next + 1);
    int last_visited = -1;
    const FindResult scan = find_record_checked([&] {
      last_visited = record_number() - 1;
      if (matches()) feeder.add(current_record_row());
      return false;
    });
    // A handler that ran while the window's messages did closed the store: that ends the
    // listing, and what it found so far is on the list already.
    if (record_number() == 0) return {};
    stop = scan.stop;
    // Short of the records counted before the scan without a record it couldn't read:
    // another opener lowered the count. Nothing is left to list.
    if (stop.stopped() || last_visited < counted - 1) break;
    next = last_visited + 1;
  }
  feeder.hand_over();
  return stop;
}

void say_if_short(Dialogs& dialogs, const ReadStop& stop) {
  if (stop.stopped()) dialogs.message_box(kListingShort + stop.why.text(), kBoxIconWarning);
}
