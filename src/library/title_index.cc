#include "library/title_index.h"

#include "store/source_record.h"
#include "store/store.h"

void TitleIndex::catch_up() {
  const int count = record_count();
  if (count < records_read_) {
    // Fewer records than already read: another library, or none, is current now. Start over
    // rather than answer from titles that aren't there.
    titles_.clear();
    records_read_ = 0;
  }
  if (count == records_read_) return;
  const int cursor = record_number();
  go_to_record(records_read_ + 1);
  // A condition that is never met walks every later record in one scan (the store reads
  // them in chunks under one lock each), collecting each title on the way.
  int read = records_read_;
  find_record([&] {
    titles_.insert(read_field(kFieldTitle).text());
    ++read;
    return false;
  });
  records_read_ = read;
  if (cursor > 0) go_to_record(cursor);
}

bool TitleIndex::holds_title(const std::string& title) {
  catch_up();
  return titles_.count(stored_text_of(kFieldTitle, title)) != 0;
}
