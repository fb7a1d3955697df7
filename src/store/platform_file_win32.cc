// Win32 layer: the store's only platform-specific file. Paths arrive as GBK texts and
// cross into the wide-character API through the program's one code-page conversion.
#include <windows.h>

#include <utility>
#include <vector>

#include "store/platform_file.h"
#include "win32/code_page.h"
#include "win32/owned_handle.h"
#include "win32/system_error.h"

namespace {

Status failure(const std::string& what, const std::string& path, DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
    return Status::not_found(path, win32::system_error_text(error));
  }
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return Status::exists(path);
  return Status::io_error(what + " " + path, win32::system_error_text(error));
}

// Positioned through the handle's file pointer rather than an OVERLAPPED offset: under Wine
// an offset in OVERLAPPED costs a round trip to the server on every call. A file is used by
// one thread at a time, so the pointer is never shared.
bool seek(HANDLE h, int64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return SetFilePointerEx(h, to, nullptr, FILE_BEGIN) != 0;
}

class Win32File final : public PlatformFile {
 public:
  Win32File(win32::OwnedHandle handle, std::string path)
      : PlatformFile(std::move(path)), handle_(std::move(handle)) {}

  Status read_up_to(int64_t offset, void* buffer, size_t size, size_t* got) override {
    char* out = static_cast<char*>(buffer);
    *got = 0;
    if (!seek(h(), offset)) return failure("read", path(), GetLastError());
    while (*got < size) {
      const size_t left = size - *got;
      DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
      DWORD n = 0;
      if (!ReadFile(h(), out + *got, chunk, &n, nullptr)) {
        return failure("read", path(), GetLastError());
      }
      if (n == 0) break;
      *got += n;
    }
    return Status::ok();
  }

  Status write_at(int64_t offset, const void* data, size_t size) override {
    const char* in = static_cast<const char*>(data);
    if (!seek(h(), offset)) return failure("write", path(), GetLastError());
    while (size > 0) {
      DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD put = 0;
      if (!WriteFile(h(), in, chunk, &put, nullptr)) {
        return failure("write", path(), GetLastError());
      }
      if (put == 0) return Status::io_error("write " + path(), "nothing written");
      in += put;
      size -= put;
    }
    return Status::ok();
  }

  Status size(int64_t* size) override {
    LARGE_INTEGER got;
    if (!GetFileSizeEx(h(), &got)) return failure("read the size of", path(), GetLastError());
    *size = got.QuadPart;
    return Status::ok();
  }

  Status truncate(int64_t size) override {
    if (!seek(h(), size) || !SetEndOfFile(h())) return failure("cut", path(), GetLastError());
    return Status::ok();
  }

  Status flush() override {
    if (!FlushFileBuffers(h())) return failure("flush", path(), GetLastError());
    return Status::ok();
  }

  bool try_lock(int64_t offset, int64_t length) override {
    uint64_t o = static_cast<uint64_t>(offset), n = static_cast<uint64_t>(length);
    return LockFile(h(), static_cast<DWORD>(o), static_cast<DWORD>(o >> 32), static_cast<DWORD>(n),
                    static_cast<DWORD>(n >> 32)) != 0;
  }

  void unlock(int64_t offset, int64_t length) override {
    uint64_t o = static_cast<uint64_t>(offset), n = static_cast<uint64_t>(length);
    UnlockFile(h(), static_cast<DWORD>(o), static_cast<DWORD>(o >> 32), static_cast<DWORD>(n),
               static_cast<DWORD>(n >> 32));
  }

 private:
  HANDLE h() const { return handle_.get(); }

  win32::OwnedHandle handle_;
};

class Win32Files final : public FileOpener {
 public:
  Status open_existing(const std::string& path, FileAccess access,
                       std::unique_ptr<PlatformFile>* file) override {
    DWORD rights = access == FileAccess::kReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    win32::OwnedHandle h = open_with(path, rights, OPEN_EXISTING);
    if (!h) return failure("open", path, GetLastError());
    if (GetFileType(h.get()) != FILE_TYPE_DISK) {
      return Status::io_error("open " + path, "not a file on disk");
    }
    file->reset(new Win32File(std::move(h), path));
    return Status::ok();
  }

  Status create_new(const std::string& path, std::unique_ptr<PlatformFile>* file) override {
    win32::OwnedHandle h = open_with(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    if (!h) return failure("create", path, GetLastError());
    file->reset(new Win32File(std::move(h), path));
    return Status::ok();
  }

  Status remove(const std::string& path) override {
    if (!DeleteFileW(win32::widen(path).c_str())) return failure("delete", path, GetLastError());
    return Status::ok();
  }

 private:
  static win32::OwnedHandle open_with(const std::string& path, DWORD rights, DWORD disposition) {
    std::wstring wide = win32::widen(path);
    if (wide.empty()) {
      SetLastError(ERROR_INVALID_NAME);
      return win32::OwnedHandle();
    }
    return win32::OwnedHandle(CreateFileW(wide.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
};

}  // namespace

FileOpener& system_files() {
  static Win32Files files;
  return files;
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

DateTime local_time_now() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return make_date_time(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

int64_t monotonic_ms() {
  return static_cast<int64_t>(GetTickCount64());
}

void sleep_ms(int ms) {
  Sleep(static_cast<DWORD>(ms));
}

namespace {

// The thread's cleanups, last registered first.
struct ThreadExit {
  void (*cleanup)(void*);
  void* data;
  ThreadExit* earlier;
};

void WINAPI run_thread_exit(void* p) {
  for (ThreadExit* exit = static_cast<ThreadExit*>(p); exit != nullptr;) {
    exit->cleanup(exit->data);
    delete std::exchange(exit, exit->earlier);
  }
}

}  // namespace

void at_thread_exit(void (*cleanup)(void*), void* data) {
  static DWORD index = FlsAlloc(run_thread_exit);
  if (index == FLS_OUT_OF_INDEXES) return;
  auto* earlier = static_cast<ThreadExit*>(FlsGetValue(index));
  FlsSetValue(index, new ThreadExit{cleanup, data, earlier});
}
