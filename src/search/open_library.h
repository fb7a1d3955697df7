#ifndef MOYAN_SEARCH_OPEN_LIBRARY_H_
#define MOYAN_SEARCH_OPEN_LIBRARY_H_

#include <string>

#include "store/store.h"

// The library opened on the calling thread for one piece of work and closed after it.
// Each thread has its own stores, current store and cursor; threads (and processes) that
// open the same file are kept apart by its byte locks.
class OpenLibrary {
 public:
  explicit OpenLibrary(const std::string& path) : open_(store_open(path)) {}
  ~OpenLibrary() {
    if (open_) store_close();
  }
  OpenLibrary(const OpenLibrary&) = delete;
  OpenLibrary& operator=(const OpenLibrary&) = delete;

  // False when the library couldn't be opened: no store is then current for this work.
  bool open() const { return open_; }

 private:
  const bool open_;
};

#endif  // MOYAN_SEARCH_OPEN_LIBRARY_H_
