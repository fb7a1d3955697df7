#include "started_program.h"

#include <atomic>

namespace {

void remove_tree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE walk = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (walk != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring item = path + L"\\" + name;
      SetFileAttributesW(item.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(item);
      } else {
        DeleteFileW(item.c_str());
      }
    } while (FindNextFileW(walk, &found));
    FindClose(walk);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> made{0};
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"moyan_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(made++);
  remove_tree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  remove_tree(path_);
}

StartedProgram::StartedProgram(
    const std::wstring& program, const std::wstring& arguments,
    const std::vector<std::pair<std::wstring, std::wstring>>& environment) {
  // This process's environment with the extra values after it (a later value wins).
  std::wstring block;
  if (wchar_t* own = GetEnvironmentStringsW()) {
    for (const wchar_t* p = own; *p != L'\0'; p += wcslen(p) + 1) {
      std::wstring entry = p;
      bool replaced = false;
      for (const auto& [name, value] : environment) {
        replaced |= _wcsnicmp(entry.c_str(), (name + L"=").c_str(), name.size() + 1) == 0;
      }
      if (!replaced) block += entry + L'\0';
    }
    FreeEnvironmentStringsW(own);
  }
  for (const auto& [name, value] : environment) block += name + L"=" + value + L'\0';
  block += L'\0';

  const std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                      block.data(), folder.c_str(), &startup, &process_)) {
    process_ = {};
  }
}

StartedProgram::~StartedProgram() {
  if (!started()) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::optional<DWORD> StartedProgram::wait(DWORD timeout_ms) {
  if (!started() || WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::wstring beside_tests(const std::wstring& relative) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring here = path;
  here = here.substr(0, here.find_last_of(L'\\') + 1);
  std::wstring tail = relative;
  for (wchar_t& c : tail) {
    if (c == L'/') c = L'\\';
  }
  return here + tail;
}

std::string file_bytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}
