#ifndef MOYAN_WIN32_OWNED_HANDLE_H_
#define MOYAN_WIN32_OWNED_HANDLE_H_

#include <windows.h>

#include <utility>

// One owner for every kind of Windows handle: the traits say what an empty handle looks
// like and how one is given back, so each kind is released exactly once, on every path.
namespace win32 {

template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Owned() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }
  // Gives the handle up without releasing it.
  Handle release() { return std::exchange(handle_, Traits::empty()); }
  void reset(Handle handle = Traits::empty()) {
    Handle old = std::exchange(handle_, handle);
    if (Traits::valid(old)) Traits::close(old);
  }

 private:
  Handle handle_ = Traits::empty();
};

// Kernel objects: files, threads, events, processes. CreateFile reports failure with
// INVALID_HANDLE_VALUE, most others with null; neither is closed.
struct KernelTraits {
  using Handle = HANDLE;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
using OwnedHandle = Owned<KernelTraits>;

// A directory walk of FindFirstFile.
struct FindTraits {
  using Handle = HANDLE;
  static Handle empty() { return INVALID_HANDLE_VALUE; }
  static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { FindClose(h); }
};
using FindHandle = Owned<FindTraits>;

// A loaded library.
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { FreeLibrary(h); }
};
using OwnedModule = Owned<ModuleTraits>;

// GDI objects (bitmaps, brushes, fonts, regions). Not for one that is selected into a
// device context at the time it is released.
template <typename T>
struct GdiTraits {
  using Handle = T;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
template <typename T>
using GdiObject = Owned<GdiTraits<T>>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// A memory device context of CreateCompatibleDC.
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DeleteDC(h); }
};
using MemoryDc = Owned<MemoryDcTraits>;

// An icon made or loaded as a copy (not a shared resource icon).
struct IconTraits {
  using Handle = HICON;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DestroyIcon(h); }
};
using OwnedIcon = Owned<IconTraits>;

// A menu that no window holds (a window destroys its own menu bar).
struct MenuTraits {
  using Handle = HMENU;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DestroyMenu(h); }
};
using OwnedMenu = Owned<MenuTraits>;

// One reference to a COM object.
template <typename T>
struct ComTraits {
  using Handle = T*;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { h->Release(); }
};
template <typename T>
using ComRef = Owned<ComTraits<T>>;

}  // namespace win32

#endif  // MOYAN_WIN32_OWNED_HANDLE_H_
