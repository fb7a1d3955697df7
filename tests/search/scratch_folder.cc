#include "scratch_folder.h"

#include <windows.h>

#include "store/empty_library.h"
#include "win32/code_page.h"

ScratchFolder::ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(path_.c_str(), nullptr);
  folder_ = std::make_unique<DiskFolder>(win32::narrow(path_));
  library_made_ = create_empty_library(folder_->library_path());
}

ScratchFolder::~ScratchFolder() {
  for (const std::wstring& name : files()) {
    const std::wstring file = path_ + L"\\" + name;
    // A worker may still be closing the library.
    for (int i = 0; i < 100 && !DeleteFileW(file.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND;
         ++i) {
      Sleep(20);
    }
  }
  RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> ScratchFolder::files() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
}
