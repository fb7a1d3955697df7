#include "library/title_index.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "store/source_record.h"

ReadStop TitleIndex::catch_up() {
  int count = 0;
  unread_ = {0, count_records(&count)};
  if (unread_.stopped()) return unread_;
  if (count < records_read_) {
    // Fewer records than already read: another library, or none, is current now. Start over
    // rather than answer from titles that aren't there.
    titles_.clear();
    records_read_ = 0;
  }
  if (count == records_read_) return unread_;
  const int cursor = record_number();
  go_to_record(records_read_ + 1);
  // A condition that is never met walks every later record in one scan (the store reads
  // them in chunks under one lock each), collecting each title on the way.
  std::vector<std::string> read;
  const FindResult scan = find_text_checked(kFieldTitle, [&](std::string_view title) {
    read.emplace_back(title);
    return false;
  });
  // A scan that stopped examined every record before the one it couldn't read, and perhaps
  // judged that one from an empty value: only titles before it are known.
  size_t known = read.size();
  if (scan.stop.stopped()) {
    known = std::min(known, static_cast<size_t>(std::max(0, scan.stop.record - 1 - records_read_)));
  }
  for (size_t i = 0; i < known; ++i) titles_.insert(std::move(read[i]));
  records_read_ += static_cast<int>(known);
  unread_ = scan.stop;
  if (cursor > 0) go_to_record(cursor);
  return unread_;
}

TitleHeld TitleIndex::holds_title(const std::string& title) {
  catch_up();
  return held_so_far(title);
}

void TitleIndex::note_appended(const std::string& title) {
  titles_.insert(stored_text_of(kFieldTitle, title));
}

TitleHeld TitleIndex::held_so_far(const std::string& title) const {
  // A title among those read is held whatever the records after them hold.
  if (titles_.count(stored_text_of(kFieldTitle, title)) != 0) return TitleHeld::kYes;
  return unread_.stopped() ? TitleHeld::kUnknown : TitleHeld::kNo;
}
