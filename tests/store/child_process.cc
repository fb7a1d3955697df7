#include "child_process.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
extern char** environ;
#endif

#ifdef _WIN32
ChildProcess start_child(const std::string& variable, const std::string& value) {
  SetEnvironmentVariableA(variable.c_str(), value.c_str());
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &si, &pi);
  SetEnvironmentVariableA(variable.c_str(), nullptr);
  if (!started) return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

int wait_child(ChildProcess child) {
  if (child == nullptr) return -1;
  WaitForSingleObject(child, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(child, &code);
  CloseHandle(child);
  return static_cast<int>(code);
}
#else
ChildProcess start_child(const std::string& variable, const std::string& value) {
  setenv(variable.c_str(), value.c_str(), 1);
  char exe[] = "/proc/self/exe";
  char* argv[] = {exe, nullptr};
  pid_t pid = 0;
  int started = posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, environ);
  unsetenv(variable.c_str());
  return started == 0 ? pid : -1;
}

int wait_child(ChildProcess child) {
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif
