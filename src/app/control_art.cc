#include "app/control_art.h"

namespace {

ButtonArt art_of(Control button) {
  switch (button) {
    case Control::图形按钮14:
      return ButtonArt::kSystemTools;
    case Control::图形按钮15:
      return ButtonArt::kNetwork;
    case Control::图形按钮16:
      return ButtonArt::kModules;
    case Control::图形按钮17:
      return ButtonArt::kIndustry;
    case Control::图形按钮18:
      return ButtonArt::kGames;
    case Control::图形按钮19:
      return ButtonArt::kMultimedia;
    case Control::图形按钮20:
      return ButtonArt::kDatabase;
    case Control::图形按钮21:
      return ButtonArt::kGraphics;
    case Control::图形按钮23:
      return ButtonArt::kSourceManagement;
    case Control::图形按钮22:
      return ButtonArt::kSourceSearch;
    case Control::图形按钮1:
      return ButtonArt::kSearch;
    case Control::图形按钮3:
      return ButtonArt::kUpdate;
    case Control::图形按钮2:
      return ButtonArt::kAdd;
    case Control::图形按钮4:
      return ButtonArt::kChoose;
    case Control::图形按钮5:
      return ButtonArt::kConfirm;
    case Control::图形按钮6:
      return ButtonArt::kCancel;
    case Control::图形按钮7:
    case Control::图形按钮8:
      return ButtonArt::kDropArrow;
    case Control::图形按钮13:
      return ButtonArt::kClose;
    case Control::图形按钮11:
      return ButtonArt::kMinimise;
    case Control::图形按钮10:
      return ButtonArt::kMenu;
    case Control::图形按钮9:
      return ButtonArt::kContact;
    default:
      return ButtonArt::kSmallIcons;  // 图形按钮12
  }
}

}  // namespace

ButtonLooks looks_of(Control image_button, int width, int height) {
  return draw_button_art(art_of(image_button), width, height);
}

std::vector<HBITMAP> picture_of(Control picture_box, int width, int height) {
  switch (picture_box) {
    case Control::图片框1:
      return {draw_logo(width, height)};
    case Control::图片框8:
      return {draw_blue_tile(width, height)};
    case Control::图片框2:
      return draw_banner_frames(BannerArt::kCommunity, width, height);
    case Control::图片框3:
      return draw_banner_frames(BannerArt::kVendor, width, height);
    case Control::图片框4:
      return draw_banner_frames(BannerArt::kSourceSite, width, height);
    default:
      return draw_banner_frames(BannerArt::kContact, width, height);
  }
}

bool is_link_picture(Control picture_box) {
  switch (picture_box) {
    case Control::图片框2:
    case Control::图片框3:
    case Control::图片框4:
    case Control::图片框5:
    case Control::图片框6:
    case Control::图片框7:
      return true;
    default:
      return false;
  }
}
