#ifndef MOYAN_LIBRARY_FILE_TEXTS_H_
#define MOYAN_LIBRARY_FILE_TEXTS_H_

#include <cstdint>
#include <string>

#include "library/local_files.h"
#include "text/date_time.h"

// The texts a file from disk gives an entry's 更新时间 and 大小, as users see them in the
// list: "2013-10-25 9:5:7" and "1.5 KB" / "5 MB".

// `file_time_text`: the file's last-write time (local) as its directory entry gives it; a
// file that can't be found gives the earliest date-time (1 January of the year 100).
std::string file_time_text(LocalFiles& files, const LocalPath& path);
// `file_size_text`: the file's size as its directory entry gives it; a file that can't be
// found counts as -1 bytes.
std::string file_size_text(LocalFiles& files, const LocalPath& path);

// The same from values already at hand (a walk has the directory entry).
std::string time_text_of(DateTime last_write);
// In KB up to 1024 KB, in MB past it ("2048 MB" for 2 GiB), each to two decimals with
// trailing zeros dropped; -1 (no file) reads "-0 KB".
std::string size_text_of(int64_t size);

#endif  // MOYAN_LIBRARY_FILE_TEXTS_H_
