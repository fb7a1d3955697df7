// Win32 layer: the store's only platform-specific file. Paths arrive as GBK texts and
// cross into the wide-character API through the program's one code-page conversion.
#include <windows.h>

#include <vector>

#include "store/platform_file.h"
#include "win32/code_page.h"

namespace {

HANDLE handle_of(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

HANDLE open_with(const std::string& path, DWORD disposition) {
  std::wstring wide = win32::widen(path);
  if (wide.empty()) return INVALID_HANDLE_VALUE;
  return CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::unique_ptr<PlatformFile> PlatformFile::open_existing(const std::string& path) {
  HANDLE h = open_with(path, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return nullptr;
  }
  return std::unique_ptr<PlatformFile>(new PlatformFile(reinterpret_cast<intptr_t>(h)));
}

std::unique_ptr<PlatformFile> PlatformFile::create_new(const std::string& path) {
  HANDLE h = open_with(path, CREATE_NEW);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::unique_ptr<PlatformFile>(new PlatformFile(reinterpret_cast<intptr_t>(h)));
}

PlatformFile::~PlatformFile() {
  CloseHandle(handle_of(handle_));
}

// Positioned through the handle's file pointer rather than an OVERLAPPED offset: under Wine
// an offset in OVERLAPPED costs a round trip to the server on every call. A PlatformFile is
// used by one thread at a time, so the pointer is never shared.
static bool seek(HANDLE h, int64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return SetFilePointerEx(h, to, nullptr, FILE_BEGIN) != 0;
}

bool PlatformFile::read_at(int64_t offset, void* buffer, size_t size) {
  char* out = static_cast<char*>(buffer);
  if (!seek(handle_of(handle_), offset)) return false;
  while (size > 0) {
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(handle_of(handle_), out, chunk, &got, nullptr) || got == 0) return false;
    out += got;
    size -= got;
  }
  return true;
}

bool PlatformFile::write_at(int64_t offset, const void* data, size_t size) {
  const char* in = static_cast<const char*>(data);
  if (!seek(handle_of(handle_), offset)) return false;
  while (size > 0) {
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD put = 0;
    if (!WriteFile(handle_of(handle_), in, chunk, &put, nullptr) || put == 0) return false;
    in += put;
    size -= put;
  }
  return true;
}

int64_t PlatformFile::size() {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle_of(handle_), &size)) return -1;
  return size.QuadPart;
}

bool PlatformFile::truncate(int64_t size) {
  return seek(handle_of(handle_), size) && SetEndOfFile(handle_of(handle_));
}

bool PlatformFile::flush() {
  return FlushFileBuffers(handle_of(handle_)) != 0;
}

bool PlatformFile::try_lock(int64_t offset, int64_t length) {
  uint64_t o = static_cast<uint64_t>(offset), n = static_cast<uint64_t>(length);
  return LockFile(handle_of(handle_), static_cast<DWORD>(o), static_cast<DWORD>(o >> 32),
                  static_cast<DWORD>(n), static_cast<DWORD>(n >> 32)) != 0;
}

void PlatformFile::unlock(int64_t offset, int64_t length) {
  uint64_t o = static_cast<uint64_t>(offset), n = static_cast<uint64_t>(length);
  UnlockFile(handle_of(handle_), static_cast<DWORD>(o), static_cast<DWORD>(o >> 32),
             static_cast<DWORD>(n), static_cast<DWORD>(n >> 32));
}

std::string full_path_name(const std::string& path) {
  std::wstring wide = win32::widen(path);
  if (wide.empty()) return std::string();
  DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return std::string();
  std::vector<wchar_t> full(n + 1);
  DWORD got = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (got == 0 || got >= full.size()) return std::string();
  return win32::narrow(std::wstring_view(full.data(), got));
}

int64_t monotonic_ms() {
  return static_cast<int64_t>(GetTickCount64());
}

void sleep_ms(int ms) {
  Sleep(static_cast<DWORD>(ms));
}

namespace {

struct ThreadExit {
  void (*cleanup)(void*);
  void* data;
};

void WINAPI run_thread_exit(void* p) {
  if (p == nullptr) return;
  ThreadExit* exit = static_cast<ThreadExit*>(p);
  exit->cleanup(exit->data);
  delete exit;
}

}  // namespace

void at_thread_exit(void (*cleanup)(void*), void* data) {
  static DWORD index = FlsAlloc(run_thread_exit);
  if (index != FLS_OUT_OF_INDEXES) FlsSetValue(index, new ThreadExit{cleanup, data});
}
