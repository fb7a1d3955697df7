#include "app/local_files_win32.h"

#include <windows.h>

#include <algorithm>

#include "win32/code_page.h"
#include "win32/owned_handle.h"

namespace {

// Paths from this length on are given the "\\?\" form, which has no length limit but
// must be whole and plain (drive or share, backslashes, no "." parts): the walk's paths
// are so, made from a chosen folder and the names the system listed.
constexpr size_t kPlainPathLimit = MAX_PATH - 12;

std::wstring system_path(const std::string& native) {
  std::wstring path = win32::widen_utf8(native);
  if (path.size() < kPlainPathLimit || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;  // relative: as it is
}

DateTime local_time_of(const FILETIME& utc) {
  FILETIME local = {};
  SYSTEMTIME parts = {};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) {
    return DateTime{kEarliestDateTimeDays};
  }
  // To the second, as the directory entry's time has always been read.
  return make_date_time(parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute,
                        parts.wSecond);
}

win32::FindHandle find_first(const std::wstring& pattern, WIN32_FIND_DATAW* found) {
  return win32::FindHandle(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, found,
                                            FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
}

}  // namespace

LocalEntry local_entry_of(const WIN32_FIND_DATAW& found) {
  LocalEntry entry;
  entry.name = win32::narrow(found.cFileName);
  entry.name_lossy = !win32::fits_gbk(found.cFileName);
  entry.native_name = win32::narrow_utf8(found.cFileName);
  entry.is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  // The listing gives a reparse point's tag in dwReserved0. Name surrogates are the tags
  // that stand for another named place; the tags of cloud placeholders, deduplicated or
  // compressed files are not.
  entry.is_link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                  IsReparseTagNameSurrogate(found.dwReserved0);
  entry.size =
      static_cast<int64_t>(static_cast<uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow);
  entry.last_write = local_time_of(found.ftLastWriteTime);
  return entry;
}

LocalPath Win32LocalFiles::path_from_text(const std::string& text) const {
  return {text, win32::narrow_utf8(win32::widen(text))};
}

LocalPath Win32LocalFiles::child(const LocalPath& folder, const LocalEntry& entry) const {
  return {joined_path(folder.text, '\\', entry.name),
          joined_path(folder.native, '\\', entry.native_name)};
}

bool Win32LocalFiles::list_folder(const LocalPath& folder, std::vector<LocalEntry>* entries) {
  entries->clear();
  WIN32_FIND_DATAW found = {};
  win32::FindHandle walk = find_first(system_path(joined_path(folder.native, '\\', "*")), &found);
  if (!walk) {
    // A drive's root has no "." or "..": an empty one lists nothing and is no failure.
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    entries->push_back(local_entry_of(found));
  } while (FindNextFileW(walk.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

bool Win32LocalFiles::find_entry(const LocalPath& path, LocalEntry* entry) {
  if (path.native.empty()) return false;
  WIN32_FIND_DATAW found = {};
  win32::FindHandle walk = find_first(system_path(path.native), &found);
  if (!walk) return false;
  *entry = local_entry_of(found);
  return true;
}

ReadOutcome Win32LocalFiles::read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) {
  *bytes = ByteSet();
  if (path.native.empty()) return ReadOutcome::kUnreadable;
  win32::OwnedHandle file(CreateFileW(system_path(path.native).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size = {};
  // A plain file on a disk only: a pipe or a device of that name is never read from.
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)) {
    return ReadOutcome::kUnreadable;
  }
  if (size.QuadPart > limit) return ReadOutcome::kTooLarge;
  // One byte more than the size, so that the end shows without growing the buffer; the
  // file may grow meanwhile, but never past the bound.
  std::string data(static_cast<size_t>(size.QuadPart) + 1, '\0');
  size_t have = 0;
  for (;;) {
    if (have == data.size()) {
      if (static_cast<int64_t>(data.size()) > limit) return ReadOutcome::kTooLarge;
      data.resize(std::min<size_t>(data.size() * 2, static_cast<size_t>(limit) + 1));
    }
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - have, 1u << 24));
    if (!ReadFile(file.get(), data.data() + have, want, &got, nullptr)) {
      return ReadOutcome::kUnreadable;
    }
    if (got == 0) break;
    have += got;
  }
  if (static_cast<int64_t>(have) > limit) return ReadOutcome::kTooLarge;
  data.resize(have);
  *bytes = ByteSet(std::move(data));
  return ReadOutcome::kRead;
}

bool Win32LocalFiles::write_file(const LocalPath& path, const ByteSet& bytes) {
  // The name itself is opened, never what a link there leads to, and the file is cut only
  // once it is known to be a plain one.
  win32::OwnedHandle file(
      CreateFileW(system_path(path.native).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION facts = {};
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(file.get(), &facts) ||
      (facts.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
      !SetEndOfFile(file.get())) {
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!WriteFile(file.get(), bytes.data() + done, want, &wrote, nullptr) || wrote == 0) {
      return false;
    }
    done += wrote;
  }
  return true;
}

std::vector<std::string> Win32LocalFiles::fixed_disks() {
  std::vector<std::string> disks;
  const DWORD present = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((present & (1u << i)) == 0) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
    if (GetDriveTypeW(root) == DRIVE_FIXED)
      disks.push_back(std::string{static_cast<char>('A' + i), ':'});
  }
  return disks;
}
