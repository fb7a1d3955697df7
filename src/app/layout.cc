#include "app/layout.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <iterator>

namespace {

using C = Control;
using K = ControlKind;
constexpr FontKind kPlain = FontKind::kDefault;

// 标签1 stands in for the list's header: five headings padded with blanks, joined by "|".
constexpr char kColumnHeadings[] =
    "   id   "
    "|   源码名称                     "
    "|  源码大小     "
    "| 源码好评率    "
    "| 源码更新时间           ";

constexpr char kAboutText[] =
    "墨砚工坊 V1.0  易语言源码小助手\r\n"
    "\r\n"
    "①拥有小助手,找源码、找模块、找支持库都是不难题！\r\n"
    "\r\n"
    "②拥有小助手,可以帮你管理您的源码,进行管理,加密保存！\r\n"
    "\r\n"
    "③小助手永远免费,无官方网站,请勿轻信收费现象！";

// Places marked "moved" lay beyond the window's right edge (or were cut off by it) in the
// original arrangement; they now sit where a user finds them. Everything else keeps its place.
//
// The right-hand strip x 543..621 below the category row is kept free on every page: on the
// library page it is the empty room right of the list's last column, and the page buttons
// 图形按钮22 and 图形按钮23 stand there, on each side of the keyword box's row of the search
// page. The menu and close buttons sit at the top right of the pages, over the blank end
// of the column headings.
constexpr ControlSpec kLayout[] = {
    // Directly on MainWindow.
    {C::图形按钮14, K::kImageButton, C::kMainWindow, -1, {5, -3, 78, 72}, nullptr, kPlain},
    {C::图形按钮15, K::kImageButton, C::kMainWindow, -1, {84, -3, 78, 72}, nullptr, kPlain},
    {C::图形按钮16, K::kImageButton, C::kMainWindow, -1, {163, -3, 78, 72}, nullptr, kPlain},
    {C::图形按钮17, K::kImageButton, C::kMainWindow, -1, {242, -3, 78, 72}, nullptr, kPlain},
    {C::图形按钮18, K::kImageButton, C::kMainWindow, -1, {321, -3, 78, 72}, nullptr, kPlain},
    {C::图形按钮19, K::kImageButton, C::kMainWindow, -1, {400, -3, 78, 72}, nullptr, kPlain},
    {C::图形按钮20, K::kImageButton, C::kMainWindow, -1, {479, -3, 78, 72}, nullptr, kPlain},
    {C::图形按钮21, K::kImageButton, C::kMainWindow, -1, {558, -3, 78, 72}, nullptr, kPlain},
    // Moved: was 840 wide and 447 high; now it ends at the client area's edges.
    {C::选择夹1, K::kPageContainer, C::kMainWindow, -1, {0, 70, 639, 441}, nullptr, kPlain},
    {C::图形按钮9, K::kImageButton, C::kMainWindow, -1, {608, 480, 32, 32}, nullptr, kPlain},
    {C::按钮1,
     K::kPushButton,
     C::kMainWindow,
     -1,
     {280, 528, 104, 24},
     "软件客服",
     FontKind::kSongBold14},
    {C::图形按钮12, K::kImageButton, C::kMainWindow, -1, {288, 531, 16, 16}, nullptr, kPlain},
    {C::编辑框6, K::kEdit, C::kMainWindow, -1, {112, 616, 280, 24}, nullptr, kPlain},
    {C::编辑框4, K::kEdit, C::kMainWindow, -1, {736, 8, 272, 40}, nullptr, kPlain},
    {C::图片框8, K::kPictureBox, C::kMainWindow, -1, {821, 553, 16, 14}, nullptr, kPlain},
    // Moved: was 878, 125 (源码管理) and 879, 205 (源码搜索).
    {C::图形按钮23, K::kImageButton, C::kMainWindow, -1, {543, 226, 78, 72}, nullptr, kPlain},
    {C::图形按钮22, K::kImageButton, C::kMainWindow, -1, {543, 122, 78, 72}, nullptr, kPlain},
    // Moved: was 917, 296 (close) and 937, 103 (menu).
    {C::图形按钮13, K::kImageButton, C::kMainWindow, -1, {596, 70, 41, 22}, nullptr, kPlain},
    {C::图形按钮11, K::kImageButton, C::kMainWindow, -1, {941, 79, 28, 22}, nullptr, kPlain},
    {C::图形按钮10, K::kImageButton, C::kMainWindow, -1, {566, 70, 28, 22}, nullptr, kPlain},

    // Library page.
    {C::标签1, K::kLabel, C::选择夹1, 0, {2, 2, 638, 18}, kColumnHeadings, kPlain},
    {C::超级列表框1, K::kListView, C::选择夹1, 0, {3, 20, 637, 403}, nullptr, kPlain},
    {C::透明标签7, K::kTransparentLabel, C::选择夹1, 0, {573, 425, 80, 16}, "QQ客服", kPlain},

    // Search page.
    {C::图片框1, K::kPictureBox, C::选择夹1, 1, {311, 48, 180, 60}, nullptr, kPlain},
    {C::编辑框1, K::kEdit, C::选择夹1, 1, {216, 128, 335, 24}, nullptr, kPlain},
    // Moved: was 575, 119, cut off by the right edge; now under the area check boxes.
    {C::图形按钮1, K::kImageButton, C::选择夹1, 1, {329, 198, 109, 35}, nullptr, kPlain},
    {C::选择框1, K::kCheckBox, C::选择夹1, 1, {314, 176, 72, 16}, "本地搜索", kPlain},
    {C::选择框2, K::kCheckBox, C::选择夹1, 1, {414, 174, 72, 16}, "网络搜索", kPlain},
    {C::分组框1, K::kGroupBox, C::选择夹1, 1, {6, 304, 352, 118}, "友情链接", kPlain},
    // Moved: was 367, 309, 457 wide; now it ends inside the page, is taller for the wrapped
    // about text, and ends above the contact picture 图形按钮9 (client y 480).
    {C::分组框2, K::kGroupBox, C::选择夹1, 1, {367, 240, 266, 170}, "关于小助手", kPlain},
    {C::图片框2, K::kPictureBox, C::分组框1, -1, {10, 28, 88, 31}, nullptr, kPlain},
    {C::图片框3, K::kPictureBox, C::分组框1, -1, {120, 28, 88, 31}, nullptr, kPlain},
    {C::图片框4, K::kPictureBox, C::分组框1, -1, {233, 27, 88, 31}, nullptr, kPlain},
    {C::图片框5, K::kPictureBox, C::分组框1, -1, {10, 72, 88, 31}, nullptr, kPlain},
    {C::图片框6, K::kPictureBox, C::分组框1, -1, {119, 72, 88, 31}, nullptr, kPlain},
    {C::图片框7, K::kPictureBox, C::分组框1, -1, {233, 72, 88, 31}, nullptr, kPlain},
    // Narrowed with its group box (was 425 × 96).
    {C::透明标签1, K::kTransparentLabel, C::分组框2, -1, {8, 16, 250, 150}, kAboutText, kPlain},

    // Management page.
    // Taller (was 136): with 分组框5 beside it, it reaches down to the entry form, which must
    // stay below the page buttons' strip.
    {C::分组框3, K::kGroupBox, C::选择夹1, 2, {24, 20, 232, 209}, "本地源码管理", kPlain},
    // Moved: was 263, 20, 561 wide, cut off; now below the import group, clear of the page
    // buttons' strip.
    {C::分组框4, K::kGroupBox, C::选择夹1, 2, {24, 232, 561, 136}, "源码管理", kPlain},
    // Moved: was 24, 159, 800 × 264; the reserved area takes the place 分组框4 left, as tall
    // as 分组框3 beside it.
    {C::分组框5, K::kGroupBox, C::选择夹1, 2, {263, 20, 272, 209}, "预留区域", kPlain},
    {C::通用对话框1, K::kFileDialog, C::选择夹1, 2, {752, 324, 32, 32}, nullptr, kPlain},
    // Moved 34 pixels down (was at y 32, 33, 64, 94 and 95): the import choices stand in the
    // middle of their taller group.
    {C::选择框3, K::kCheckBox, C::分组框3, -1, {24, 66, 80, 16}, "选择文件夹", kPlain},
    {C::选择框5, K::kCheckBox, C::分组框3, -1, {121, 67, 97, 16}, "选择单一文件", kPlain},
    {C::选择框4, K::kCheckBox, C::分组框3, -1, {24, 98, 144, 16}, "选择电脑中的所有源码", kPlain},
    {C::图形按钮3, K::kImageButton, C::分组框3, -1, {26, 128, 80, 24}, nullptr, kPlain},
    {C::图形按钮2, K::kImageButton, C::分组框3, -1, {128, 129, 80, 24}, nullptr, kPlain},
    {C::透明标签2, K::kTransparentLabel, C::分组框4, -1, {17, 28, 64, 24}, "源码标题：", kPlain},
    {C::编辑框2, K::kEdit, C::分组框4, -1, {89, 27, 448, 24}, nullptr, kPlain},
    {C::透明标签3, K::kTransparentLabel, C::分组框4, -1, {17, 65, 64, 24}, "源码大小：", kPlain},
    {C::编辑框3, K::kEdit, C::分组框4, -1, {89, 65, 73, 24}, nullptr, kPlain},
    {C::透明标签4, K::kTransparentLabel, C::分组框4, -1, {179, 63, 64, 24}, "源码星级：", kPlain},
    {C::组合框1, K::kComboBox, C::分组框4, -1, {241, 64, 104, 34}, nullptr, kPlain},
    {C::标签2, K::kLabel, C::分组框4, -1, {240, 62, 88, 22}, nullptr, kPlain},
    {C::图形按钮7, K::kImageButton, C::分组框4, -1, {327, 62, 16, 23}, nullptr, kPlain},
    {C::透明标签6, K::kTransparentLabel, C::分组框4, -1, {356, 60, 64, 24}, "源码类型：", kPlain},
    {C::组合框2, K::kComboBox, C::分组框4, -1, {416, 62, 104, 34}, nullptr, kPlain},
    {C::标签3, K::kLabel, C::分组框4, -1, {416, 61, 88, 22}, nullptr, kPlain},
    {C::图形按钮8, K::kImageButton, C::分组框4, -1, {503, 61, 16, 23}, nullptr, kPlain},
    {C::透明标签5, K::kTransparentLabel, C::分组框4, -1, {17, 96, 65, 24}, "更新时间：", kPlain},
    {C::编辑框5, K::kEdit, C::分组框4, -1, {88, 98, 169, 24}, nullptr, kPlain},
    {C::图形按钮4, K::kImageButton, C::分组框4, -1, {269, 95, 80, 24}, nullptr, kPlain},
    {C::图形按钮5, K::kImageButton, C::分组框4, -1, {366, 95, 80, 24}, nullptr, kPlain},
    {C::图形按钮6, K::kImageButton, C::分组框4, -1, {459, 95, 80, 24}, nullptr, kPlain},
    // Moved down (was 16, 24) to stand in the middle of its taller group box.
    {C::透明标签9,
     K::kTransparentLabel,
     C::分组框5,
     -1,
     {16, 57, 240, 100},
     "预留区域",
     FontKind::kSongReservedArea},
    // Takes the caption's place once an import has run (hidden until then).
    {C::导入进度, K::kTransparentLabel, C::分组框5, -1, {10, 20, 252, 180}, nullptr, kPlain},
};

static_assert(std::size(kLayout) == kControlCount - 1, "every control has one layout row");

constexpr ListColumn kColumns[] = {
    {"id", 50}, {"Code", 200}, {"Size", 80}, {"Star", 80}, {"Time", 135}, {"Network", 0},
};

constexpr const char* kRatingItems[] = {
    "☆☆☆☆☆", "★☆☆☆☆", "★★☆☆☆", "★★★☆☆", "★★★★☆", "★★★★★",
};

constexpr const char* kCategoryItems[] = {
    "系统工具", "网络相关", "模块控件", "行业控件", "游戏娱乐", "图形图像", "多媒体类", "数据库类",
};

constexpr MenuItemSpec kSourceMenu[] = {
    {0, "源码管理", MenuCommand::kNone},
    {1, "移动到", MenuCommand::kNone},
    {2, "系统工具", MenuCommand::kMoveToSystemTools},
    {2, "游戏软件", MenuCommand::kMoveToGameSoftware},
    {2, "行业控件", MenuCommand::kMoveToIndustry},
    {2, "模块控件", MenuCommand::kMoveToModules},
    {2, "图形图像", MenuCommand::kMoveToGraphics},
    {2, "多媒体类", MenuCommand::kMoveToMultimedia},
    {2, "数据库类", MenuCommand::kMoveToDatabase},
};

constexpr MenuItemSpec kMainMenu[] = {
    {0, "菜单", MenuCommand::kNone},
    {1, "退出小助手", MenuCommand::kExitHelper},
};

}  // namespace

const char kMainWindowTitle[] = "墨砚工坊V1.0";

std::span<const ControlSpec> main_window_layout() {
  return kLayout;
}

const ControlSpec& control_spec(Control name) {
  static const auto by_name = [] {
    std::array<const ControlSpec*, kControlCount> index{};
    for (const ControlSpec& spec : kLayout) index[static_cast<int>(spec.name)] = &spec;
    return index;
  }();
  const ControlSpec* spec = by_name[static_cast<int>(name)];
  if (spec != nullptr) return *spec;
  static constexpr ControlSpec kWindow = {C::kMainWindow,
                                          K::kPageContainer,
                                          C::kMainWindow,
                                          -1,
                                          {0, 0, kMainWindowWidth, kMainWindowHeight},
                                          nullptr,
                                          kPlain};
  return kWindow;
}

ControlRect fitted_rect(const ControlSpec& spec, int client_width, int client_height) {
  ControlRect r = spec.rect;
  // How far the right end of a pair of buttons lies past the client area.
  auto overflow = [client_width](std::initializer_list<Control> pair) {
    int right = 0;
    for (Control c : pair) {
      const ControlRect& place = control_spec(c).rect;
      right = std::max(right, place.left + place.width);
    }
    return std::max(0, right - client_width);
  };
  switch (spec.name) {
    case C::选择夹1:
      r.width = client_width - r.left;
      r.height = client_height - r.top;
      break;
    case C::图形按钮10:
    case C::图形按钮13:
      r.left -= overflow({C::图形按钮10, C::图形按钮13});
      break;
    case C::图形按钮22:
    case C::图形按钮23:
      r.left -= overflow({C::图形按钮22, C::图形按钮23});
      break;
    default:
      break;
  }
  return r;
}

std::span<const ListColumn> result_list_columns() {
  return kColumns;
}
std::span<const char* const> rating_items() {
  return kRatingItems;
}
std::span<const char* const> category_items() {
  return kCategoryItems;
}

std::span<const MenuItemSpec> menu_items(PopupMenu menu) {
  if (menu == PopupMenu::kMainMenu) return kMainMenu;
  return kSourceMenu;
}

const char* menu_caption(MenuCommand command) {
  for (auto menu : {PopupMenu::kSourceManagement, PopupMenu::kMainMenu}) {
    for (const MenuItemSpec& item : menu_items(menu)) {
      if (item.command == command && command != MenuCommand::kNone) return item.caption;
    }
  }
  return "";
}
