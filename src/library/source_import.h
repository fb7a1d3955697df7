#ifndef MOYAN_LIBRARY_SOURCE_IMPORT_H_
#define MOYAN_LIBRARY_SOURCE_IMPORT_H_

#include <string>

#include "library/local_files.h"
#include "library/title_index.h"
#include "store/status.h"

// What became of one ".e" file of an import.
enum class ImportedFile {
  kAdded,        // a new entry with the file packed as its attachment
  kAddedEmpty,   // a new entry with an empty attachment: the file couldn't be read, or was
                 // too large to read
  kPresent,      // the library holds its title already (perhaps from earlier in this
                 // import): skipped
  kNotStored,    // the library refused the entry, or none was open
  kUnchecked,    // a record of the library couldn't be read, so whether it holds the title
                 // can't be told: not stored, lest it be there twice
  kNameUnsaved,  // its name has characters GBK can't hold, and the title it reads as is
                 // held: perhaps by another file whose name differs only in those, so it
                 // is neither stored nor taken as present
};

struct ImportCounts {
  int added = 0;  // kAdded and kAddedEmpty
  int added_empty = 0;
  int present = 0;
  int not_stored = 0;
  int unchecked = 0;         // kUnchecked: not stored either
  int unsaved_names = 0;     // kNameUnsaved
  int unlisted_folders = 0;  // folders that couldn't be listed: they contribute nothing
  // Listed entries the system couldn't describe, that may be ".e" files or folders: they
  // are neither read nor entered.
  int unexamined = 0;
};

// What an import tells as it goes, and what it asks between files.
class ImportObserver {
 public:
  virtual void folder_entered(const LocalPath& /*folder*/) {}
  virtual void folder_unlisted(const LocalPath& /*folder*/) {}
  // An entry the system listed but couldn't describe (LocalEntry::problem says why).
  virtual void entry_unexamined(const LocalPath& /*path*/, const LocalEntry& /*entry*/) {}
  // `why` says why a file was not stored (kNotStored) or stored without its content
  // (kAddedEmpty).
  virtual void file_done(const std::string& /*title*/, const LocalPath& /*file*/,
                         ImportedFile /*result*/, const Status& /*why*/) {}
  // Asked after each file and each subfolder; lets the window's messages run. False stops
  // the import there.
  virtual bool keep_going() { return true; }

 protected:
  ~ImportObserver() = default;
};

// One import of ".e" files into the library file at `store_path`, on the calling thread's
// store. An imported entry: 标题 the file's name without its last two bytes (the ".e"),
// 更新时间 and 大小 from its directory entry (file_texts.h), 星级 "★★★★★", 非下载地址 its
// full path, 附件 its bytes packed, 类型 "系统工具". A title that the library holds already,
// also one added earlier in the same import, is skipped, so of several files of one name
// only the first met is stored. A file whose title can't be checked, because a record of the
// library can't be read (another program holds it, the system refuses the read), is not
// stored either: it is counted apart, and the next import checks it again. A name GBK
// can't spell is stored as it reads ("曲♫.e" as "曲?"); when that title is held already it
// is not taken as present, since another file may read alike (kNameUnsaved).
//
// Titles are looked up in a TitleIndex, which reads each record once and then only those
// appended since (by this import or any other opener): the import costs files + records,
// not files × records.
class SourceImport {
 public:
  SourceImport(LocalFiles& files, std::string store_path, ImportObserver& observer)
      : files_(files), store_path_(std::move(store_path)), observer_(observer) {}

  // `store_open` of the library. Ok also when the library was open and current already (a
  // listing that is still running): the import then works on it.
  Status open();
  // `import_folder`: the folder's ".e" files in the system's order, then each subfolder
  // the same way, depth first. Folders that are reparse points are never entered (a
  // junction can lead back to its own parent), nor those whose name ends in ".", which
  // leaves out "." and "..". An entry the system couldn't describe is counted and told,
  // never silently passed over. False when the observer stopped it.
  //
  // When a handler that ran between two files closed the library, it is opened again
  // and the import goes on: files met after that are stored like the others.
  bool import_folder(const LocalPath& folder);
  // `store_close`.
  void close();

  const ImportCounts& counts() const { return counts_; }

 private:
  void import_file(const LocalPath& folder, const LocalEntry& entry);
  bool after_step();

  LocalFiles& files_;
  std::string store_path_;
  ImportObserver& observer_;
  TitleIndex titles_;
  ImportCounts counts_;
  bool had_library_ = false;
};

// Whether a directory entry's name is one that the search for "*.e" finds: ending in ".e"
// in either letter case.
bool is_source_file_name(const std::string& name);

#endif  // MOYAN_LIBRARY_SOURCE_IMPORT_H_
