#ifndef MOYAN_LIBRARY_TITLE_INDEX_H_
#define MOYAN_LIBRARY_TITLE_INDEX_H_

#include <string>
#include <unordered_set>

// The titles of the current store's entries, for duplicate checks that would otherwise scan
// the whole library once per file imported or per hit harvested.
//
// Entries are only ever appended to a library and an entry's 标题 is never rewritten, so the
// titles read from records 1 to n stay true; holds_title() first reads the records appended
// since (by this caller, another thread or another process) and so answers exactly as a scan
// of the whole library would at that moment.
//
// Works on the calling thread's current store. Not thread-safe: a caller that shares one
// index between threads guards it with its own lock.
class TitleIndex {
 public:
  // Whether the current store holds an entry whose 标题 is `title` as the store would hold it
  // (cut to the field's width), byte for byte. Without a current store: false.
  bool holds_title(const std::string& title);

  // Reads the titles of the records appended since the last call. One scan for all of them,
  // however many they are; the cursor stays where it was.
  void catch_up();

  // Records whose titles have been read.
  int records_read() const { return records_read_; }

 private:
  std::unordered_set<std::string> titles_;
  int records_read_ = 0;
};

#endif  // MOYAN_LIBRARY_TITLE_INDEX_H_
