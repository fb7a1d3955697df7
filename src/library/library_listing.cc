#include "library/library_listing.h"

#include "library/library_texts.h"
#include "library/record_listing.h"
#include "store/source_record.h"
#include "store/store.h"

void list_category(WindowPort& window, const LibraryContext& context, const std::string& category) {
  window.set_current_page(kLibraryPage);
  store_open(context.store_path);
  window.delete_all_rows();
  go_first();
  const ReadStop stop = list_records(
      window, window, [&] { return read_field(kFieldCategory).text() == category; },
      context.pacing);
  store_close();
  say_if_short(window, stop);
}

void move_entry_to_category(WindowPort& window, const LibraryContext& context,
                            const std::string& category) {
  const int row = window.selected_row();
  // A row's title is as the page or the file gave it; the store holds it cut to the
  // field's width, and it is compared so.
  const std::string title = window.cell_text(row, 1);
  store_open(context.store_path);
  // From the first entry even when another handler's listing left the cursor further on,
  // so the entry moved is always the first of that title.
  go_first();
  const FindResult entry = find_text_checked(kFieldTitle, title);
  if (entry.found) write_field(kFieldCategory, category);
  // An earlier entry of the title may lie in a record that couldn't be read: then nothing
  // was moved, and the row stays on the list.
  if (!entry.stop.stopped()) window.delete_row(row);
  store_close();
  if (entry.stop.stopped()) {
    window.message_box(kMoveUnchecked + entry.stop.why.text(), kBoxIconWarning);
  }
}

void show_entry_menu(WindowPort& window) {
  window.pop_up_menu(PopupMenu::kSourceManagement);
}
