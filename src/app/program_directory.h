#ifndef MOYAN_APP_PROGRAM_DIRECTORY_H_
#define MOYAN_APP_PROGRAM_DIRECTORY_H_

#include <string>

// The directory of the running program file, without a trailing backslash. Kept in UTF-16
// as the system gives it, so a folder name that GBK can't spell still names the folder.
std::wstring program_directory();

#endif  // MOYAN_APP_PROGRAM_DIRECTORY_H_
