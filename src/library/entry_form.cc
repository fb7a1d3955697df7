#include "library/entry_form.h"

#include <string>

#include "library/file_texts.h"
#include "library/library_texts.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/text.h"

void show_star_choice(WindowPort& window) {
  window.set_control_text(Control::标签2, " " + window.chosen_item_text(Control::组合框1));
}

void show_type_choice(WindowPort& window) {
  window.set_control_text(Control::标签3, " " + window.chosen_item_text(Control::组合框2));
}

void choose_source_file(WindowPort& window, LibraryContext& context) {
  const ChosenPath chosen = window.choose_open_file(kSourceFileFilter);
  if (chosen.text.empty()) return;
  const LocalPath path{chosen.text, chosen.native};
  window.set_control_text(Control::编辑框5, file_time_text(*context.files, path));
  window.set_control_text(Control::编辑框3, file_size_text(*context.files, path));
  // The name is what follows the last separator (the whole text when there is none).
  const std::string& file = chosen.text;
  const std::string separator(1, context.files->separator());
  const int length = text_byte_length(file);
  const std::string name = right_text(file, length - find_text_reverse(file, separator));
  // Without its last two bytes, the ".e".
  window.set_control_text(Control::编辑框2, left_text(name, text_byte_length(name) - 2));
  // A native form of its own is UTF-8, where a separator byte is always a separator.
  const size_t cut = chosen.native.rfind(context.files->separator());
  const std::string native_name = chosen.native == chosen.text ? name
                                  : cut == std::string::npos   ? chosen.native
                                                               : chosen.native.substr(cut + 1);
  context.pending_file = {name, native_name};
  context.set_pending_file_name(name);
}

void add_manual_entry(WindowPort& window, const LibraryContext& context) {
  struct Check {
    Control control;
    const char* message;
  };
  // In this order; the first empty one is reported. A field of blanks counts as filled.
  const Check checks[] = {
      {Control::编辑框2, kTitleMissing},      {Control::编辑框3, kSizeMissing},
      {Control::标签2, kRatingMissing},       {Control::标签3, kCategoryMissing},
      {Control::编辑框5, kUpdateTimeMissing},
  };
  for (const Check& check : checks) {
    if (window.control_text(check.control).empty()) {
      window.message_box(check.message, kBoxIconInformation, kCaptionHint);
      return;
    }
  }
  const std::string title = window.control_text(Control::编辑框2);
  const Status opened = store_open_status(context.store_path);
  // From the first entry even when the store was already open with its cursor elsewhere
  // (a listing still running), so no title is missed.
  go_first();
  // Compared as the store would hold it: a longer title is kept cut, and must be found so.
  const FindResult held = find_text_checked(kFieldTitle, title);
  if (held.found) {
    window.message_box(kAlreadyInLibrary, kBoxIconInformation);
    store_close();
    return;
  }
  if (held.stop.stopped()) {
    // A record that couldn't be read may hold the title: adding it could store it twice.
    store_close();
    window.message_box(kEntryUnchecked + held.stop.why.text(), kBoxIconWarning);
    return;
  }
  const std::string file_name = context.pending_file_name();
  const LocalPath file = !file_name.empty() && context.pending_file.text == file_name
                             ? context.pending_file
                             : context.files->path_from_text(file_name);
  ByteSet bytes;
  const ReadOutcome read = context.files->read_file(file, kLargestSourceFile, &bytes);
  if (read == ReadOutcome::kTooLarge) {
    // Storing it without its content would claim a success that isn't one.
    window.message_box(std::string(kEntryNotAdded) + kSourceFileOver +
                           std::to_string(kLargestSourceFile >> 20) + " MB",
                       kBoxIconWarning);
    store_close();
    return;
  }
  if (read != ReadOutcome::kRead) bytes = ByteSet();
  Status added = append_record({
      {kFieldTitle, title},
      {kFieldUpdateTime, window.control_text(Control::编辑框5)},
      {kFieldSize, window.control_text(Control::编辑框3)},
      {kFieldRating, remove_spaces(window.control_text(Control::标签2))},
      {kFieldCategory, remove_spaces(window.control_text(Control::标签3))},
      {kFieldAttachment, pack_attachment(bytes)},
      {kFieldAddress, file_name},
  });
  if (added) {
    window.message_box(kEntryAdded, kBoxIconInformation);
  } else {
    // Nothing was stored: say so and why (a library that didn't open says more than the
    // append that then had no library).
    const Status& cause = (!opened && record_number() == 0) ? opened : added;
    window.message_box(std::string(kEntryNotAdded) + cause.text(), kBoxIconWarning);
  }
  store_close();
}
