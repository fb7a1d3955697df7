// codelib's commands over the library's entries: the program's own listing, search, import
// and hand-out code, printing what the program would show.
#include <string>
#include <vector>

#include "codelib.h"
#include "library/entry_export.h"
#include "library/file_names.h"
#include "library/local_search.h"
#include "library/record_listing.h"
#include "library/source_import.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/gbk_unicode.h"
#include "text/text.h"

namespace {

void print(std::FILE* to, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), to);
  std::fputc('\n', to);
}

// A text as one field of a line, so that an entry stays one line of tab-separated fields:
// as it is, unless it holds a control character (a tab or a line break would split it)
// or begins with a double quote; then in double quotes, with \t, \n, \r, \", \\ and \xNN
// for the other control characters.
std::string field(const std::string& text) {
  bool plain = text.empty() || text[0] != '"';
  for (char c : text) plain = plain && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    switch (c) {
      case '\t':
        quoted += "\\t";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          const char digits[] = "0123456789abcdef";
          quoted += "\\x";
          quoted += digits[(c >> 4) & 0xF];
          quoted += digits[c & 0xF];
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

int refuse(std::FILE* err, const std::string& why) {
  print(err, "codelib: " + why);
  return 1;
}

int refuse(std::FILE* err, const std::string& path, const Status& status) {
  std::string text = status.text();
  if (text.find(path) == std::string::npos) text = path + ": " + text;
  return refuse(err, platform_text_to_utf8(text));
}

// The result list as lines: each row's six cells, tab-separated, in UTF-8.
class PrintedList final : public ResultList, public MessagePump {
 public:
  explicit PrintedList(std::FILE* out) : out_(out) {}

  int append_numbered_row(const RowTexts& texts) override {
    std::string line = std::to_string(++rows_);
    for (const std::string& text : texts) line += "\t" + field(gbk_to_utf8(text));
    print(out_, line);
    return rows_ - 1;
  }
  void delete_all_rows() override { rows_ = 0; }
  int insert_row() override { return append_numbered_row({}); }
  void set_cell_text(int, int, const std::string&) override {}
  std::string cell_text(int, int) override { return std::string(); }
  void delete_row(int) override {}
  int row_count() override { return rows_; }
  int selected_row() override { return -1; }
  void redraw_list() override {}
  // Nothing waits to be handled: there is no window.
  void run_pending_messages() override {}

 private:
  std::FILE* out_;
  int rows_ = 0;
};

int finish(std::FILE* out, std::FILE* err) {
  if (std::fflush(out) != 0) return refuse(err, "can't write the output");
  return 0;
}

// A listing is printed as far as it went; one that stopped at a record it couldn't read
// says where, after its lines, and fails.
int finish_listing(const ReadStop& stop, std::FILE* out, std::FILE* err) {
  const int written = finish(out, err);
  if (!stop.stopped()) return written;
  return refuse(err, "reading stopped: " + platform_text_to_utf8(stop.why.text()));
}

// Lines of an import on out: one per file met, per folder that couldn't be listed and per
// entry that couldn't be examined, with the title and path as the library holds them.
// Whatever was skipped (a file not stored, or stored without its content, a folder or
// entry not looked into) is told once more on err, by its path as the system has it, with
// the reason.
class PrintedImport final : public ImportObserver {
 public:
  PrintedImport(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

  void folder_unlisted(const LocalPath& folder) override {
    print(out_, "unlisted\t" + field(gbk_to_utf8(folder.text)));
    skipped(folder, "the folder can't be listed");
  }
  void entry_unexamined(const LocalPath& path, const LocalEntry& entry) override {
    print(out_, "unexamined\t" + field(gbk_to_utf8(path.text)));
    skipped(path, "can't be examined: " + platform_text_to_utf8(entry.problem));
  }
  void file_done(const std::string& title, const LocalPath& file, ImportedFile result,
                 const Status& why) override {
    const char* kinds[] = {"added",      "added-empty", "present",
                           "not-stored", "unchecked",   "name-unsaved"};
    std::string line = std::string(kinds[static_cast<int>(result)]) + "\t" +
                       field(gbk_to_utf8(title)) + "\t" + field(gbk_to_utf8(file.text));
    const std::string reason = platform_text_to_utf8(why.text());
    if (result == ImportedFile::kNotStored || result == ImportedFile::kUnchecked) {
      line += "\t" + field(reason);
    }
    print(out_, line);
    if (result == ImportedFile::kAddedEmpty) skipped(file, "stored without its content: " + reason);
    if (result == ImportedFile::kNotStored) skipped(file, "not stored: " + reason);
    if (result == ImportedFile::kUnchecked) {
      skipped(file, "not stored: its title can't be checked: " + reason);
    }
    if (result == ImportedFile::kNameUnsaved) {
      skipped(file, "not stored: its name has characters GBK can't hold, and the library holds " +
                        field(gbk_to_utf8(title)) + " already");
    }
  }
  int skipped_count() const { return skipped_; }

 private:
  void skipped(const LocalPath& path, const std::string& why) {
    ++skipped_;
    // The native form is UTF-8 on both platforms (the wide path's, or the file system's
    // bytes), and names a file GBK can't spell exactly.
    print(err_, "codelib: skipped " + field(path.native) + ": " + why);
  }

  std::FILE* out_;
  std::FILE* err_;
  int skipped_ = 0;
};

}  // namespace

int codelib_list(const std::string& path, const std::string* category, std::FILE* out,
                 std::FILE* err) {
  const Status opened = store_open_status(path);
  if (!opened) return refuse(err, path, opened);
  const std::string wanted = category ? platform_text_to_gbk(*category) : std::string();
  PrintedList list(out);
  go_first();
  const ReadStop stop = list_records(
      list, list,
      [&] { return category == nullptr || read_field(kFieldCategory).text() == wanted; }, Pacing{});
  store_close();
  return finish_listing(stop, out, err);
}

int codelib_search(const std::string& path, const std::string& keyword_arg, std::FILE* out,
                   std::FILE* err) {
  const std::string keyword = platform_text_to_gbk(keyword_arg);
  if (trim_spaces(keyword).empty()) return refuse(err, "the keyword is blank");
  const Status opened = store_open_status(path);
  if (!opened) return refuse(err, path, opened);
  PrintedList list(out);
  const ReadStop stop = list_records(
      list, list, [&] { return title_matches_keyword(read_field(kFieldTitle).text(), keyword); },
      Pacing{});
  store_close();
  return finish_listing(stop, out, err);
}

int codelib_import(const std::string& path, const std::string& folder_arg, std::FILE* out,
                   std::FILE* err) {
  LocalFiles& files = platform_files();
  const LocalPath folder = platform_path(folder_arg);
  std::vector<LocalEntry> entries;
  if (!files.list_folder(folder, &entries)) {
    return refuse(err, platform_text_to_utf8(folder_arg) + ": the folder can't be listed");
  }
  PrintedImport printed(out, err);
  SourceImport import(files, path, printed);
  const Status opened = import.open();
  if (!opened) return refuse(err, path, opened);
  import.import_folder(folder);
  import.close();
  const int finished = finish(out, err);
  if (printed.skipped_count() > 0) {
    return refuse(err, std::to_string(printed.skipped_count()) + " skipped");
  }
  return finished;
}

int codelib_export(const std::string& path, const std::string& title_arg,
                   const std::string& folder_arg, std::FILE* out, std::FILE* err) {
  const std::string title = platform_text_to_gbk(title_arg);
  if (!fits_plain_file_name(title)) {
    return refuse(err, platform_text_to_utf8(title_arg) + ": not a plain file name");
  }
  const Status opened = store_open_status(path);
  if (!opened) return refuse(err, path, opened);
  const std::string stored_title = stored_text_of(kFieldTitle, title);
  go_first();
  const bool found = find_record([&] { return read_field(kFieldTitle).text() == stored_title; });
  const ByteSet attachment = found ? read_field(kFieldAttachment).bytes() : ByteSet();
  const std::string address = found ? read_field(kFieldAddress).text() : std::string();
  store_close();
  const std::string shown = gbk_to_utf8(title);
  if (!found) return refuse(err, "no entry is titled " + shown);
  if (attachment.empty()) return refuse(err, shown + ": the entry has no attachment");
  const ExportedFile file = exported_file_of(attachment, address);
  if (!file.sound) return refuse(err, shown + ": the attachment can't be unpacked");
  LocalFiles& files = platform_files();
  LocalEntry name;
  name.name = title + file.extension;
  name.native_name = files.path_from_text(name.name).native;
  const LocalPath target = files.child(platform_path(folder_arg), name);
  LocalEntry there;
  if (files.find_entry(target, &there) && there.is_link) {
    // It would write wherever the link leads, perhaps far outside the folder.
    return refuse(err, field(target.native) + ": is a link; nothing written through it");
  }
  if (!files.write_file(target, file.bytes)) {
    return refuse(err, field(target.native) + ": can't be written");
  }
  print(out, field(gbk_to_utf8(target.text)));
  return finish(out, err);
}
