#ifndef MOYAN_APP_WIN_HANDLES_H_
#define MOYAN_APP_WIN_HANDLES_H_

#include <windows.h>

#include <utility>

// Owns one GDI object (bitmap, brush, font) and deletes it.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~GdiObject() { reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(T handle = nullptr) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;

// Owns an icon.
class Icon {
 public:
  Icon() = default;
  explicit Icon(HICON icon) : icon_(icon) {}
  Icon(const Icon&) = delete;
  Icon& operator=(const Icon&) = delete;
  Icon& operator=(Icon&& other) noexcept {
    if (this != &other) {
      if (icon_ != nullptr) DestroyIcon(icon_);
      icon_ = std::exchange(other.icon_, nullptr);
    }
    return *this;
  }
  ~Icon() {
    if (icon_ != nullptr) DestroyIcon(icon_);
  }
  HICON get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

// Owns a menu that no window holds.
class Menu {
 public:
  Menu() = default;
  explicit Menu(HMENU menu) : menu_(menu) {}
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  Menu(Menu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
  Menu& operator=(Menu&& other) noexcept {
    if (this != &other) {
      if (menu_ != nullptr) DestroyMenu(menu_);
      menu_ = std::exchange(other.menu_, nullptr);
    }
    return *this;
  }
  ~Menu() {
    if (menu_ != nullptr) DestroyMenu(menu_);
  }
  HMENU get() const { return menu_; }

 private:
  HMENU menu_ = nullptr;
};

#endif  // MOYAN_APP_WIN_HANDLES_H_
