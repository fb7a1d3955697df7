#ifndef MOYAN_TOOLS_CODELIB_CODELIB_H_
#define MOYAN_TOOLS_CODELIB_CODELIB_H_

#include <cstdio>
#include <string>
#include <vector>

#include "library/local_files.h"

// codelib: creates, inspects and repairs library files outside the program.
//   codelib create PATH   a new empty library with the seven entry fields
//   codelib check PATH    opens it for reading only, prints its shape, the repairs that
//                         opening would make, everything broken in its chains and the
//                         space a crash lost
//   codelib dump PATH     one JSON object per record, texts as UTF-8
//   codelib repair PATH   the repairs of opening, and nothing else
//   codelib list PATH [CATEGORY]
//                         the entries (of that category), as the result list shows them
//   codelib search PATH KEYWORD
//                         the entries whose title holds the keyword, as the local search
//   codelib import PATH FOLDER
//                         the folder's ".e" files and its subfolders', as the import does
//   codelib export PATH TITLE DIR
//                         the entry's attachment as a file in DIR, as the program hands
//                         it out: TITLE.e unpacked, or TITLE.rar as stored
// Paths and texts are the platform's (GBK on Windows, the file system's bytes, UTF-8,
// elsewhere). Reports go to out, one entry per line, refusals to err, both UTF-8. The
// result is the exit status: 0, 1 when anything failed (a file refused or broken, an entry
// not found or not stored; lost space alone is not), 2 for a wrong command line.
int run_codelib(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

int codelib_list(const std::string& path, const std::string* category, std::FILE* out,
                 std::FILE* err);
int codelib_search(const std::string& path, const std::string& keyword, std::FILE* out,
                   std::FILE* err);
int codelib_import(const std::string& path, const std::string& folder, std::FILE* out,
                   std::FILE* err);
int codelib_export(const std::string& path, const std::string& title, const std::string& folder,
                   std::FILE* out, std::FILE* err);

// A path or a system message, as the platform gives it, in UTF-8.
std::string platform_text_to_utf8(const std::string& text);
// A text from the command line as the library holds texts (GBK).
std::string platform_text_to_gbk(const std::string& text);
// The platform's local disks, and a path from the command line on them.
LocalFiles& platform_files();
LocalPath platform_path(const std::string& path);

#endif  // MOYAN_TOOLS_CODELIB_CODELIB_H_
