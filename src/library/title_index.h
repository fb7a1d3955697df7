#ifndef MOYAN_LIBRARY_TITLE_INDEX_H_
#define MOYAN_LIBRARY_TITLE_INDEX_H_

#include <string>
#include <unordered_set>

#include "store/store.h"

// What the library can be said to hold of a title.
enum class TitleHeld {
  kYes,
  kNo,
  // Not among the titles read, and a record (or the record count) couldn't be read: the
  // title may be there. A duplicate check must not add it.
  kUnknown,
};

// The titles of the current store's entries, for duplicate checks that would otherwise scan
// the whole library once per file imported or per hit harvested.
//
// Entries are only ever appended to a library and an entry's 标题 is never rewritten, so the
// titles read from records 1 to n stay true; holds_title() first reads the records appended
// since (by this caller, another thread or another process) and so answers exactly as a scan
// of the whole library would at that moment. A record that can't be read (another opener
// holds it, the system refuses the read) ends the reading there: the titles before it are
// kept, and it is read again at the next question.
//
// Works on the calling thread's current store. Not thread-safe: a caller that shares one
// index between threads guards it with its own lock.
class TitleIndex {
 public:
  // Whether the current store holds an entry whose 标题 is `title` as the store would hold it
  // (cut to the field's width), byte for byte. Without a current store: kNo.
  TitleHeld holds_title(const std::string& title);

  // The same from the titles read so far, without reading on: kUnknown when the last
  // catch_up stopped short and the title isn't among them. For many titles at once, after
  // one catch_up: a record another program holds costs one wait, not one per title.
  TitleHeld held_so_far(const std::string& title) const;

  // Reads the titles of the records not read yet: those appended since the last call, and
  // any that a former call couldn't read. One scan for all of them, however many they are;
  // the cursor stays where it was. Says where reading stopped, if it did.
  ReadStop catch_up();

  // The caller has just appended an entry titled `title` to the current store: held from
  // now on without reading its record (the next catch_up reads it with the others). Spares
  // a writer of many entries a reading of the library between one and the next.
  void note_appended(const std::string& title);

  // Records whose titles have been read.
  int records_read() const { return records_read_; }
  // Where the last catch_up stopped short, if it did: why holds_title said kUnknown.
  const ReadStop& unread() const { return unread_; }

 private:
  std::unordered_set<std::string> titles_;
  int records_read_ = 0;
  ReadStop unread_;
};

#endif  // MOYAN_LIBRARY_TITLE_INDEX_H_
