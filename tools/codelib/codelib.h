#ifndef MOYAN_TOOLS_CODELIB_CODELIB_H_
#define MOYAN_TOOLS_CODELIB_CODELIB_H_

#include <cstdio>
#include <string>
#include <vector>

// codelib: creates, inspects and repairs library files outside the program.
//   codelib create PATH   a new empty library with the seven entry fields
//   codelib check PATH    opens it for reading only, prints its shape, the repairs that
//                         opening would make, everything broken in its chains and the
//                         space a crash lost
//   codelib dump PATH     one JSON object per record, texts as UTF-8
//   codelib repair PATH   the repairs of opening, and nothing else
// Paths are the platform's texts (GBK on Windows, the file system's bytes elsewhere).
// Reports go to out, refusals to err, both UTF-8. The result is the exit status: 0, 1
// when the file is refused or broken (lost space alone is not), 2 for a wrong command line.
int run_codelib(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// A path or a system message, as the platform gives it, in UTF-8.
std::string platform_text_to_utf8(const std::string& text);

#endif  // MOYAN_TOOLS_CODELIB_CODELIB_H_
