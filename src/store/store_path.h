#ifndef MOYAN_STORE_STORE_PATH_H_
#define MOYAN_STORE_STORE_PATH_H_

#include <string>

// The store file's name: a last path segment without an extension gets ".EDB" (a name
// ending in a dot gets "EDB" only). Separators are '\' and '/', found GBK-aware.
std::string store_file_path(const std::string& path);
// The companion file: the store file's path with its extension replaced by "EDT".
std::string companion_file_path(const std::string& store_path);
// ASCII letters folded to lower case; the two bytes of a GBK character stay as they are.
std::string fold_ascii_case(const std::string& text);

// Equal but for the letter case of ASCII letters (GBK-aware, as fold_ascii_case).
bool equal_ignoring_ascii_case(const std::string& a, const std::string& b);

#endif  // MOYAN_STORE_STORE_PATH_H_
