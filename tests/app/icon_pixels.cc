#include "icon_pixels.h"

#include <algorithm>
#include <cstdlib>

namespace {

int channel(uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

int channel_difference(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift : {0, 8, 16})
    most = std::max(most, std::abs(channel(a, shift) - channel(b, shift)));
  return most;
}

Pixels read_dib(HDC dc, HBITMAP bitmap, int width, int height) {
  Pixels p;
  p.width = width;
  p.height = height;
  p.argb.resize(static_cast<size_t>(width) * height);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  if (GetDIBits(dc, bitmap, 0, height, p.argb.data(), &bi, DIB_RGB_COLORS) != height) {
    p.argb.clear();
  }
  return p;
}

uint32_t le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

std::wstring beside_this_program(const std::wstring& name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

Pixels ico_image(const std::wstring& path, int size) {
  Pixels image;
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return image;
  std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
  DWORD got = 0;
  bool read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  if (!read || got != bytes.size() || bytes.size() < 6) return image;
  const int count = bytes[4] | (bytes[5] << 8);
  for (int i = 0; i < count && 6 + 16 * (i + 1) <= static_cast<int>(bytes.size()); ++i) {
    const unsigned char* entry = bytes.data() + 6 + 16 * i;
    int width = entry[0] == 0 ? 256 : entry[0];
    uint32_t length = le32(entry + 8), offset = le32(entry + 12);
    if (width != size || offset + length > bytes.size() || length < 40) continue;
    const unsigned char* dib = bytes.data() + offset;
    if (le32(dib) != 40 || (dib[14] | (dib[15] << 8)) != 32) continue;  // a 32-bit bitmap
    const size_t row = static_cast<size_t>(size) * 4;
    if (40 + row * size > length) continue;
    image.width = image.height = size;
    image.argb.resize(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {  // rows are stored bottom up
      const unsigned char* source = dib + 40 + row * (size - 1 - y);
      for (int x = 0; x < size; ++x)
        image.argb[static_cast<size_t>(y) * size + x] = le32(source + 4 * x);
    }
    return image;
  }
  return image;
}

namespace {

Pixels pixels_of(HDC source, const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  Pixels p = read_dib(memory, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return p;
}

}  // namespace

Pixels screen_pixels(const RECT& area) {
  HDC screen = GetDC(nullptr);
  Pixels p = pixels_of(screen, area);
  ReleaseDC(nullptr, screen);
  return p;
}

Pixels client_pixels(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  Pixels p = pixels_of(dc, client);
  ReleaseDC(window, dc);
  return p;
}

Pixels drawn_icon(HICON icon, int size, COLORREF background) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all = {0, 0, size, size};
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  SelectObject(memory, old);
  Pixels p = read_dib(memory, bitmap, size, size);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return p;
}

Pixels over_background(const Pixels& image, COLORREF background) {
  Pixels out = image;
  const int back[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (uint32_t& pixel : out.argb) {
    const int alpha = channel(pixel, 24);
    uint32_t mixed = 0xFF000000u;
    for (int i = 0; i < 3; ++i) {
      int value = (channel(pixel, 8 * i) * alpha + back[i] * (255 - alpha) + 127) / 255;
      mixed |= static_cast<uint32_t>(value) << (8 * i);
    }
    pixel = mixed;
  }
  return out;
}

bool find_opaque_part(const Pixels& screen, const Pixels& image, int tolerance, POINT* at) {
  for (int top = 0; top + image.height <= screen.height; ++top) {
    for (int left = 0; left + image.width <= screen.width; ++left) {
      bool same = true;
      for (int y = 0; y < image.height && same; ++y) {
        for (int x = 0; x < image.width && same; ++x) {
          uint32_t want = image.at(x, y);
          if (channel(want, 24) != 255) continue;
          same = channel_difference(want, screen.at(left + x, top + y)) <= tolerance;
        }
      }
      if (same) {
        if (at != nullptr) *at = POINT{left, top};
        return true;
      }
    }
  }
  return false;
}

int largest_difference(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height || a.argb.size() != b.argb.size()) return 256;
  int most = 0;
  for (size_t i = 0; i < a.argb.size(); ++i)
    most = std::max(most, channel_difference(a.argb[i], b.argb[i]));
  return most;
}
