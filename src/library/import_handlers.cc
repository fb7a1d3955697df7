#include "library/import_handlers.h"

#include <vector>

#include "library/entry_form.h"
#include "library/library_texts.h"
#include "library/source_import.h"
#include "store/store.h"

namespace {

// Bytes of a path shown whole; a longer one shows its end (the folder's own name).
constexpr size_t kShownPathBytes = 60;

std::string counts_text(const ImportCounts& counts) {
  std::string text = kCountAdded + std::to_string(counts.added) + kCountPresent +
                     std::to_string(counts.present) + kCountUnit;
  if (counts.added_empty > 0)
    text += kCountOfThem + std::to_string(counts.added_empty) + kCountUnread;
  if (counts.not_stored > 0)
    text += kCountNotStored + std::to_string(counts.not_stored) + kCountUnit;
  if (counts.unchecked > 0) text += kCountUnchecked + std::to_string(counts.unchecked) + kCountUnit;
  if (counts.unsaved_names > 0)
    text += kCountNameUnsaved + std::to_string(counts.unsaved_names) + kCountUnit;
  if (counts.unlisted_folders > 0) {
    text += kCountUnlisted + std::to_string(counts.unlisted_folders) + kCountUnit;
  }
  if (counts.unexamined > 0)
    text += kCountUnexamined + std::to_string(counts.unexamined) + kCountUnit;
  return text;
}

// The import's progress in the reserved area, where the caption "预留区域" stood: the folder
// being read, the counts so far and how to stop. Shown, and the window's messages run, as
// the pacing says; a press of 图形按钮2 meanwhile asks the import to stop.
class WindowImportProgress final : public ImportObserver {
 public:
  WindowImportProgress(WindowPort& window, const ImportState& state, Pacing pacing)
      : window_(window), state_(state), pacer_(pacing) {}

  void watch(const SourceImport& import) { import_ = &import; }

  void begin() {
    window_.set_control_visible(Control::透明标签9, false);
    window_.set_control_visible(Control::导入进度, true);
  }
  void folder_entered(const LocalPath& folder) override { folder_ = folder.text; }
  bool keep_going() override {
    if (state_.stop_requested) return false;
    if (pacer_.due()) {
      show();
      window_.run_pending_messages();
    }
    return !state_.stop_requested;
  }
  void show() {
    if (state_.stop_requested) return;  // "stopping" stays until the import has ended
    say(std::string(kImporting) + shown_path(folder_) + "\r\n" + counts_text(import_->counts()) +
        "\r\n" + kHowToStopImport);
  }
  void finish(bool stopped) {
    say(std::string(stopped ? kImportStopped : kImportFinished) + "\r\n" +
        counts_text(import_->counts()));
  }
  void unopened(const Status& why) { say(kLibraryUnopened + why.text()); }

 private:
  void say(const std::string& text) {
    if (text == shown_) return;
    shown_ = text;
    window_.set_control_text(Control::导入进度, text);
  }

  WindowPort& window_;
  const ImportState& state_;
  Pacer pacer_;
  const SourceImport* import_ = nullptr;
  std::string folder_;
  std::string shown_;
};

// Marks the import as running for as long as it does, whatever way it ends.
class RunningImport {
 public:
  explicit RunningImport(ImportState& state) : state_(state) {
    state_.running = true;
    state_.stop_requested = false;
  }
  ~RunningImport() {
    state_.running = false;
    state_.stop_requested = false;
  }
  RunningImport(const RunningImport&) = delete;
  RunningImport& operator=(const RunningImport&) = delete;

 private:
  ImportState& state_;
};

void import_folders(WindowPort& window, LibraryContext& context,
                    const std::vector<LocalPath>& folders, bool whole_computer) {
  RunningImport running(context.import);
  WindowImportProgress progress(window, context.import, context.pacing);
  SourceImport import(*context.files, context.store_path, progress);
  progress.watch(import);
  progress.begin();
  Status opened = import.open();
  if (!opened) {
    // Walking and reading every file would store nothing: say so at once instead.
    progress.unopened(opened);
    import.close();
    return;
  }
  bool completed = true;
  for (const LocalPath& path : folders) {
    progress.folder_entered(path);
    progress.show();
    if (!import.import_folder(path)) {
      completed = false;
      break;
    }
  }
  progress.finish(!completed);
  if (whole_computer && completed) window.message_box(kImportDone, kBoxOk);
  import.close();
}

}  // namespace

std::string shown_path(const std::string& path) {
  if (path.size() <= kShownPathBytes) return path;
  // From the first character that begins within the last bytes, stepping whole characters
  // from the start so that none is cut in half.
  const size_t from = path.size() - (kShownPathBytes - 4);
  size_t i = 0;
  while (i < from) i += static_cast<unsigned char>(path[i]) >= 0x80 ? 2 : 1;
  return kEllipsis + path.substr(std::min(i, path.size()));
}

void select_import_scope(WindowPort& window, Control clicked) {
  if (!window.is_checked(clicked)) return;
  for (Control box : {Control::选择框5, Control::选择框3, Control::选择框4}) {
    if (box != clicked) window.set_checked(box, false);
  }
}

void import_sources(WindowPort& window, LibraryContext& context) {
  if (context.import.running) {
    // A second press while an import runs (its handler is letting messages run): that
    // import stops after its current file.
    context.import.stop_requested = true;
    window.set_control_text(Control::导入进度, kImportStopping);
    return;
  }
  if (window.is_checked(Control::选择框5)) {
    choose_source_file(window, context);
  } else if (window.is_checked(Control::选择框3)) {
    const ChosenPath folder = window.choose_folder(kChooseFolder);
    if (folder.text.empty()) {
      // Nothing chosen: the library is opened and closed again, nothing else happens.
      store_open(context.store_path);
      store_close();
      return;
    }
    import_folders(window, context, {LocalPath{folder.text, folder.native}}, false);
  } else if (window.is_checked(Control::选择框4)) {
    std::vector<LocalPath> disks;
    for (const std::string& disk : context.files->fixed_disks()) {
      disks.push_back(context.files->path_from_text(disk + context.files->separator()));
    }
    import_folders(window, context, disks, true);
  }
}
