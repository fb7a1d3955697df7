#include "library/source_import.h"

#include <string>
#include <utility>
#include <vector>

#include "library/entry_form.h"
#include "library/file_texts.h"
#include "library/library_texts.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/text.h"

namespace {

// A folder being walked: its subfolders, entered one after the other.
struct Level {
  LocalPath folder;
  std::vector<LocalEntry> subfolders;
  size_t next = 0;
};

bool enterable(const LocalEntry& entry) {
  return entry.is_folder && !entry.is_link && !entry.name.empty() && entry.name.back() != '.';
}

// Whether an entry that couldn't be described might have been imported or entered.
bool might_matter(const LocalEntry& entry) {
  return is_source_file_name(entry.name) || enterable(entry);
}

}  // namespace

bool is_source_file_name(const std::string& name) {
  const size_t n = name.size();
  return n >= 2 && name[n - 2] == '.' && (name[n - 1] == 'e' || name[n - 1] == 'E');
}

Status SourceImport::open() {
  Status opened = store_open_status(store_path_);
  had_library_ = record_number() != 0;
  return had_library_ ? Status::ok() : opened;
}

void SourceImport::close() {
  store_close();
}

bool SourceImport::after_step() {
  const bool go_on = observer_.keep_going();
  // Another handler that ran meanwhile ended with store_close: the import opens the
  // library again rather than go on walking without storing anything.
  if (had_library_ && record_number() == 0) store_open(store_path_);
  return go_on;
}

void SourceImport::import_file(const LocalPath& folder, const LocalEntry& entry) {
  const LocalPath path = files_.child(folder, entry);
  const std::string title = left_text(entry.name, text_byte_length(entry.name) - 2);
  const TitleHeld held = titles_.holds_title(title);
  if (held == TitleHeld::kYes) {
    if (entry.name_lossy) {
      ++counts_.unsaved_names;
      observer_.file_done(title, path, ImportedFile::kNameUnsaved, Status::ok());
      return;
    }
    ++counts_.present;
    observer_.file_done(title, path, ImportedFile::kPresent, Status::ok());
    return;
  }
  if (held == TitleHeld::kUnknown) {
    ++counts_.unchecked;
    observer_.file_done(title, path, ImportedFile::kUnchecked, titles_.unread().why);
    return;
  }
  if (record_number() == 0) {
    // No library to store it in: reading the file would change nothing.
    ++counts_.not_stored;
    observer_.file_done(title, path, ImportedFile::kNotStored,
                        Status::invalid("no library is open"));
    return;
  }
  ByteSet bytes;
  const ReadOutcome outcome = files_.read_file(path, kLargestSourceFile, &bytes);
  const bool read = outcome == ReadOutcome::kRead;
  if (!read) bytes = ByteSet();
  Status stored = append_record({
      {kFieldTitle, title},
      {kFieldUpdateTime, time_text_of(entry.last_write)},
      {kFieldRating, std::string(kFiveStars)},
      {kFieldSize, size_text_of(entry.size)},
      {kFieldAddress, path.text},
      {kFieldAttachment, pack_attachment(bytes)},
      {kFieldCategory, std::string(kCategorySystemTools)},
  });
  ImportedFile result = ImportedFile::kNotStored;
  Status why = stored;
  if (!stored) {
    ++counts_.not_stored;
  } else {
    ++counts_.added;
    if (!read) ++counts_.added_empty;
    result = read ? ImportedFile::kAdded : ImportedFile::kAddedEmpty;
    if (!read) {
      why = Status::invalid(outcome == ReadOutcome::kTooLarge
                                ? "larger than a source file may be (" +
                                      std::to_string(kLargestSourceFile >> 20) + " MiB)"
                                : "the file can't be read");
    }
  }
  observer_.file_done(title, path, result, why);
}

bool SourceImport::import_folder(const LocalPath& folder) {
  // Walked with a stack of its own rather than by recursion: a tree as deep as paths
  // allow must not end the program by its depth.
  std::vector<Level> levels;
  auto enter = [&](LocalPath path) {
    observer_.folder_entered(path);
    Level level{std::move(path), {}, 0};
    std::vector<LocalEntry> entries;
    if (!files_.list_folder(level.folder, &entries)) {
      ++counts_.unlisted_folders;
      observer_.folder_unlisted(level.folder);
    }
    // All files of a folder come before any of its subfolders.
    for (LocalEntry& entry : entries) {
      if (!entry.examined) {
        if (might_matter(entry)) {
          ++counts_.unexamined;
          observer_.entry_unexamined(files_.child(level.folder, entry), entry);
        }
        continue;
      }
      if (entry.is_folder) {
        if (enterable(entry)) level.subfolders.push_back(std::move(entry));
        continue;
      }
      if (!is_source_file_name(entry.name)) continue;
      import_file(level.folder, entry);
      if (!after_step()) return false;
    }
    levels.push_back(std::move(level));
    return true;
  };
  if (!enter(folder)) return false;
  while (!levels.empty()) {
    Level& top = levels.back();
    if (top.next == top.subfolders.size()) {
      levels.pop_back();
      // Done with a subfolder.
      if (!levels.empty() && !after_step()) return false;
      continue;
    }
    LocalPath subfolder = files_.child(top.folder, top.subfolders[top.next++]);
    if (!enter(std::move(subfolder))) return false;
  }
  return true;
}
