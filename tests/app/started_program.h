#ifndef MOYAN_TESTS_APP_STARTED_PROGRAM_H_
#define MOYAN_TESTS_APP_STARTED_PROGRAM_H_

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A folder of its own under the temporary folder, removed with everything in it when it
// goes (hidden and read-only files included).
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// A program started as a user starts it (from its own folder), with extra environment
// values; ended by force if it still runs when this goes.
class StartedProgram {
 public:
  StartedProgram(const std::wstring& program, const std::wstring& arguments,
                 const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;
  ~StartedProgram();

  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }
  // The exit code once it ends within `timeout_ms`; nothing when it is still running.
  std::optional<DWORD> wait(DWORD timeout_ms);

 private:
  PROCESS_INFORMATION process_ = {};
};

// The path of a file beside this test program, in the form its build wrote (slashes).
std::wstring beside_tests(const std::wstring& relative);
// A file's bytes; empty when it can't be read.
std::string file_bytes(const std::wstring& path);

#endif  // MOYAN_TESTS_APP_STARTED_PROGRAM_H_
