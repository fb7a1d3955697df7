// Draws every picture of the program onto one sheet and saves it as a 24-bit BMP, so the
// artwork can be looked at as a whole: art_contact_sheet OUT.bmp
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/art/artwork.h"

namespace {

constexpr int kSheetWidth = 1000;
constexpr int kSheetHeight = 980;
constexpr int kGap = 6;

struct Sheet {
  HDC dc;
  int x = kGap, y = kGap, row_height = 0;

  void place(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    if (x + info.bmWidth > kSheetWidth) next_row();
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
    x += info.bmWidth + kGap;
    if (info.bmHeight > row_height) row_height = info.bmHeight;
  }
  void place_icon(int size) {
    HICON icon = load_program_icon(size);
    if (x + size > kSheetWidth) next_row();
    DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    x += size + kGap;
    if (size > row_height) row_height = size;
  }
  void next_row() {
    x = kGap;
    y += row_height + kGap;
    row_height = 0;
  }
};

bool save_bmp(HBITMAP bitmap, int width, int height, const char* path) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
            std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
            std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: art_contact_sheet OUT.bmp\n");
    return 2;
  }
  HDC screen = GetDC(nullptr);
  HBITMAP canvas = CreateCompatibleBitmap(screen, kSheetWidth, kSheetHeight);
  ReleaseDC(nullptr, screen);
  Sheet sheet{CreateCompatibleDC(nullptr)};
  HGDIOBJ old = SelectObject(sheet.dc, canvas);
  RECT all{0, 0, kSheetWidth, kSheetHeight};
  HBRUSH grey = CreateSolidBrush(RGB(236, 238, 241));
  FillRect(sheet.dc, &all, grey);
  DeleteObject(grey);

  struct Item {
    ButtonArt art;
    int width, height;
  };
  const std::vector<std::vector<Item>> groups = {
      {{ButtonArt::kSystemTools, 78, 72},
       {ButtonArt::kNetwork, 78, 72},
       {ButtonArt::kModules, 78, 72},
       {ButtonArt::kIndustry, 78, 72},
       {ButtonArt::kGames, 78, 72},
       {ButtonArt::kMultimedia, 78, 72},
       {ButtonArt::kDatabase, 78, 72},
       {ButtonArt::kGraphics, 78, 72},
       {ButtonArt::kSourceManagement, 78, 72},
       {ButtonArt::kSourceSearch, 78, 72}},
      {{ButtonArt::kSearch, 109, 35},
       {ButtonArt::kUpdate, 80, 24},
       {ButtonArt::kAdd, 80, 24},
       {ButtonArt::kChoose, 80, 24},
       {ButtonArt::kConfirm, 80, 24},
       {ButtonArt::kCancel, 80, 24},
       {ButtonArt::kDropArrow, 16, 23},
       {ButtonArt::kClose, 41, 22},
       {ButtonArt::kMinimise, 28, 22},
       {ButtonArt::kMenu, 28, 22},
       {ButtonArt::kContact, 32, 32},
       {ButtonArt::kSmallIcons, 16, 16}},
  };
  for (const auto& group : groups) {
    for (int look = 0; look < 3; ++look) {
      for (const Item& item : group) {
        ButtonLooks looks = draw_button_art(item.art, item.width, item.height);
        HBITMAP all_looks[] = {looks.normal, looks.hover, looks.pressed};
        for (int i = 0; i < 3; ++i) {
          if (i == look) {
            sheet.place(all_looks[i]);
          } else {
            DeleteObject(all_looks[i]);
          }
        }
      }
      sheet.next_row();
    }
  }
  for (BannerArt art :
       {BannerArt::kCommunity, BannerArt::kVendor, BannerArt::kSourceSite, BannerArt::kContact}) {
    for (HBITMAP frame : draw_banner_frames(art, 88, 31)) sheet.place(frame);
    sheet.next_row();
  }
  sheet.place(draw_logo(180, 60));
  sheet.place(draw_blue_tile(16, 14));
  sheet.place(draw_logo(360, 120));
  sheet.next_row();
  for (int size : {16, 24, 32, 48, 64, 72, 96, 128, 256}) sheet.place_icon(size);

  SelectObject(sheet.dc, old);
  DeleteDC(sheet.dc);
  bool ok = save_bmp(canvas, kSheetWidth, kSheetHeight, argv[1]);
  DeleteObject(canvas);
  return ok ? 0 : 1;
}
