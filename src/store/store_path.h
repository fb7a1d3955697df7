#ifndef MOYAN_STORE_STORE_PATH_H_
#define MOYAN_STORE_STORE_PATH_H_

#include <string>
#include <string_view>

// Path texts as the platform has them (kPathsAreGbk): GBK on Windows, stepped through a
// character at a time; the file system's own bytes elsewhere.

// The store file's name: a last path segment without an extension gets ".EDB" (a name
// ending in a dot gets "EDB" only). Separators are '\' and '/'.
std::string store_file_path(const std::string& path);
// The companion file: the store file's path with its extension replaced by "EDT".
std::string companion_file_path(const std::string& store_path);
// The store file's full path for a path as a caller gives it (extension added, made
// absolute); empty when the system can't make it absolute.
std::string store_full_path(const std::string& path);
// The folder part of a path, without its last separator; empty when there is none.
std::string folder_of_path(const std::string& path);
// A path with its ASCII letters folded to lower case, for comparing paths the way the
// system compares them; the bytes of other characters stay as they are.
std::string fold_path_case(const std::string& path);

// Field names (GBK texts) equal but for the letter case of ASCII letters; the two bytes of
// a GBK character compare exactly.
bool equal_ignoring_ascii_case(std::string_view a, std::string_view b);

#endif  // MOYAN_STORE_STORE_PATH_H_
