#include "app/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// The client area of the 645 × 541 window with a 3-pixel fixed frame and a 23-pixel caption.
constexpr ControlRect kClientArea = {0, 0, 639, 512};

ControlRect intersect(const ControlRect& a, const ControlRect& b) {
  int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
  int right = std::min(a.left + a.width, b.left + b.width);
  int bottom = std::min(a.top + a.height, b.top + b.height);
  return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

// A control's place in MainWindow's client area, as far as its group box shows it.
ControlRect absolute_rect(const ControlSpec& spec) {
  ControlRect r = spec.rect;
  for (Control c = spec.container; c != Control::kMainWindow;) {
    const ControlSpec& outer = control_spec(c);
    if (outer.kind == ControlKind::kGroupBox) {
      r = intersect(r, {0, 0, outer.rect.width, outer.rect.height});
    }
    r.left += outer.rect.left;
    r.top += outer.rect.top;
    c = outer.container;
  }
  return r;
}

bool inside(const ControlRect& r, const ControlRect& area) {
  return r.left >= area.left && r.top >= area.top && r.left + r.width <= area.left + area.width &&
         r.top + r.height <= area.top + area.height;
}

bool overlap(const ControlRect& a, const ControlRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// The page a control is on, -1 for MainWindow itself.
int page_of(const ControlSpec& spec) {
  for (const ControlSpec* s = &spec; s->container != Control::kMainWindow;
       s = &control_spec(s->container)) {
    if (s->container == Control::选择夹1) return s->page;
  }
  return -1;
}

std::string rect_text(const ControlRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height);
}

bool holds_only_a_value(Control c) {
  return c == Control::编辑框6 || c == Control::编辑框4 || c == Control::图片框8 ||
         c == Control::按钮1 || c == Control::图形按钮11 || c == Control::图形按钮12 ||
         c == Control::通用对话框1;
}

TEST(Layout, EveryControlOnceAndInsideItsContainerOrValueOnly) {
  std::set<Control> seen;
  for (const ControlSpec& spec : main_window_layout()) {
    EXPECT_TRUE(seen.insert(spec.name).second) << static_cast<int>(spec.name);
    EXPECT_EQ(&control_spec(spec.name), &spec);
    if (holds_only_a_value(spec.name)) continue;
    // Category buttons start 3 pixels above the client area, as laid out; the column
    // headings and the list reach 1 pixel past it; the label "QQ客服" is wider than its text.
    ControlRect r = absolute_rect(spec);
    if (r.top == -3) r.top = 0, r.height -= 3;
    if (r.left + r.width == kClientArea.width + 1) r.width -= 1;
    if (spec.name == Control::透明标签7) r.width = 48;
    EXPECT_TRUE(inside(r, kClientArea))
        << "control " << static_cast<int>(spec.name) << " at " << r.left << "," << r.top << " "
        << r.width << "x" << r.height << " is not wholly inside the window";
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kControlCount - 1));
}

TEST(Layout, ContainersComeBeforeWhatTheyHold) {
  std::set<Control> created;
  for (const ControlSpec& spec : main_window_layout()) {
    if (spec.container != Control::kMainWindow) {
      EXPECT_TRUE(created.count(spec.container)) << static_cast<int>(spec.name);
    }
    EXPECT_EQ(spec.page >= 0, spec.container == Control::选择夹1) << static_cast<int>(spec.name);
    created.insert(spec.name);
  }
}

TEST(Layout, MovedButtonsCoverNothingOnAnyPage) {
  const Control moved[] = {Control::图形按钮10, Control::图形按钮13, Control::图形按钮22,
                           Control::图形按钮23};
  for (Control m : moved) {
    ControlRect button = absolute_rect(control_spec(m));
    for (const ControlSpec& spec : main_window_layout()) {
      if (spec.name == m || page_of(spec) < 1) continue;
      if (spec.kind == ControlKind::kFileDialog) continue;  // no window
      EXPECT_FALSE(overlap(button, absolute_rect(spec)))
          << "button " << static_cast<int>(m) << " covers control " << static_cast<int>(spec.name)
          << " on page " << page_of(spec);
    }
    for (Control other : moved) {
      if (other != m) {
        EXPECT_FALSE(overlap(button, absolute_rect(control_spec(other))));
      }
    }
  }
}

TEST(Layout, MovedControlsStayClearOfTheContactPicture) {
  // 图形按钮9 lies on MainWindow over every page's lower right corner.
  const ControlRect picture = absolute_rect(control_spec(Control::图形按钮9));
  for (Control moved :
       {Control::图形按钮1, Control::图形按钮10, Control::图形按钮13, Control::图形按钮22,
        Control::图形按钮23, Control::分组框2, Control::分组框4, Control::分组框5}) {
    ControlRect r = absolute_rect(control_spec(moved));
    EXPECT_FALSE(overlap(r, picture))
        << "control " << static_cast<int>(moved) << " at " << r.left << "," << r.top << " "
        << r.width << "x" << r.height << " runs under the contact picture";
  }
}

// The management page's groups stand close together: no empty band between a group and
// any group right above it.
TEST(Layout, ManagementGroupsLeaveNoBandBetweenThem) {
  constexpr int kGap = 8;
  std::vector<ControlRect> groups;
  for (const ControlSpec& spec : main_window_layout()) {
    if (spec.kind == ControlKind::kGroupBox && page_of(spec) == kManagementPage) {
      groups.push_back(spec.rect);
    }
  }
  auto side_by_side = [](const ControlRect& a, const ControlRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width;
  };
  auto bottom = [](const ControlRect& r) { return r.top + r.height; };
  for (const ControlRect& lower : groups) {
    for (const ControlRect& upper : groups) {
      if (!side_by_side(upper, lower) || bottom(upper) > lower.top) continue;
      const bool another_between = std::any_of(groups.begin(), groups.end(), [&](auto& g) {
        return side_by_side(g, upper) && side_by_side(g, lower) && g.top >= bottom(upper) &&
               bottom(g) <= lower.top;
      });
      if (another_between) continue;
      EXPECT_LE(lower.top - bottom(upper), kGap)
          << "an empty band between the group at " << rect_text(upper) << " and the one at "
          << rect_text(lower);
    }
  }
}

TEST(Layout, PageButtonsLieRightOfTheListColumns) {
  int columns = 0;
  for (const ListColumn& c : result_list_columns()) columns += c.width;
  const ControlRect list = absolute_rect(control_spec(Control::超级列表框1));
  for (Control m : {Control::图形按钮22, Control::图形按钮23}) {
    ControlRect button = absolute_rect(control_spec(m));
    // The list's client area starts 2 pixels in (its edge).
    EXPECT_GE(button.left, list.left + 2 + columns - 8) << static_cast<int>(m);
  }
}

// Every control as the layout has it, in creation order: the places of the original
// arrangement, and the moves README documents (marked "moved", with the original place).
struct PinnedRow {
  Control name;
  Control container;
  int page;
  ControlRect rect;
  ControlKind kind;
  const char* caption;
  FontKind font = FontKind::kDefault;
};

using C = Control;
using K = ControlKind;
constexpr C kWindow = C::kMainWindow;
constexpr C kPages = C::选择夹1;

const PinnedRow kPinned[] = {
    {C::图形按钮14, kWindow, -1, {5, -3, 78, 72}, K::kImageButton, nullptr},
    {C::图形按钮15, kWindow, -1, {84, -3, 78, 72}, K::kImageButton, nullptr},
    {C::图形按钮16, kWindow, -1, {163, -3, 78, 72}, K::kImageButton, nullptr},
    {C::图形按钮17, kWindow, -1, {242, -3, 78, 72}, K::kImageButton, nullptr},
    {C::图形按钮18, kWindow, -1, {321, -3, 78, 72}, K::kImageButton, nullptr},
    {C::图形按钮19, kWindow, -1, {400, -3, 78, 72}, K::kImageButton, nullptr},
    {C::图形按钮20, kWindow, -1, {479, -3, 78, 72}, K::kImageButton, nullptr},
    {C::图形按钮21, kWindow, -1, {558, -3, 78, 72}, K::kImageButton, nullptr},
    {C::选择夹1, kWindow, -1, {0, 70, 639, 441}, K::kPageContainer, nullptr},  // moved: 840 × 447
    {C::图形按钮9, kWindow, -1, {608, 480, 32, 32}, K::kImageButton, nullptr},
    {C::按钮1, kWindow, -1, {280, 528, 104, 24}, K::kPushButton, "软件客服", FontKind::kSongBold14},
    {C::图形按钮12, kWindow, -1, {288, 531, 16, 16}, K::kImageButton, nullptr},
    {C::编辑框6, kWindow, -1, {112, 616, 280, 24}, K::kEdit, nullptr},
    {C::编辑框4, kWindow, -1, {736, 8, 272, 40}, K::kEdit, nullptr},
    {C::图片框8, kWindow, -1, {821, 553, 16, 14}, K::kPictureBox, nullptr},
    {C::图形按钮23, kWindow, -1, {543, 226, 78, 72}, K::kImageButton, nullptr},  // moved: 878, 125
    {C::图形按钮22, kWindow, -1, {543, 122, 78, 72}, K::kImageButton, nullptr},  // moved: 879, 205
    {C::图形按钮13, kWindow, -1, {596, 70, 41, 22}, K::kImageButton, nullptr},   // moved: 917, 296
    {C::图形按钮11, kWindow, -1, {941, 79, 28, 22}, K::kImageButton, nullptr},
    {C::图形按钮10, kWindow, -1, {566, 70, 28, 22}, K::kImageButton, nullptr},  // moved: 937, 103
    {C::标签1,
     kPages,
     0,
     {2, 2, 638, 18},
     K::kLabel,
     "   id   |   源码名称                     |  源码大小     | 源码好评率    | 源码更新时间      "
     "     "},
    {C::超级列表框1, kPages, 0, {3, 20, 637, 403}, K::kListView, nullptr},
    {C::透明标签7, kPages, 0, {573, 425, 80, 16}, K::kTransparentLabel, "QQ客服"},
    {C::图片框1, kPages, 1, {311, 48, 180, 60}, K::kPictureBox, nullptr},
    {C::编辑框1, kPages, 1, {216, 128, 335, 24}, K::kEdit, nullptr},
    {C::图形按钮1, kPages, 1, {329, 198, 109, 35}, K::kImageButton, nullptr},  // moved: 575, 119
    {C::选择框1, kPages, 1, {314, 176, 72, 16}, K::kCheckBox, "本地搜索"},
    {C::选择框2, kPages, 1, {414, 174, 72, 16}, K::kCheckBox, "网络搜索"},
    {C::分组框1, kPages, 1, {6, 304, 352, 118}, K::kGroupBox, "友情链接"},
    // moved: 367, 309, 457 × 118
    {C::分组框2, kPages, 1, {367, 240, 266, 170}, K::kGroupBox, "关于小助手"},
    {C::图片框2, C::分组框1, -1, {10, 28, 88, 31}, K::kPictureBox, nullptr},
    {C::图片框3, C::分组框1, -1, {120, 28, 88, 31}, K::kPictureBox, nullptr},
    {C::图片框4, C::分组框1, -1, {233, 27, 88, 31}, K::kPictureBox, nullptr},
    {C::图片框5, C::分组框1, -1, {10, 72, 88, 31}, K::kPictureBox, nullptr},
    {C::图片框6, C::分组框1, -1, {119, 72, 88, 31}, K::kPictureBox, nullptr},
    {C::图片框7, C::分组框1, -1, {233, 72, 88, 31}, K::kPictureBox, nullptr},
    // moved: 425 × 96
    {C::透明标签1,
     C::分组框2,
     -1,
     {8, 16, 250, 150},
     K::kTransparentLabel,
     "墨砚工坊 V1.0  易语言源码小助手\r\n\r\n"
     "①拥有小助手,找源码、找模块、找支持库都是不难题！\r\n\r\n"
     "②拥有小助手,可以帮你管理您的源码,进行管理,加密保存！\r\n\r\n"
     "③小助手永远免费,无官方网站,请勿轻信收费现象！"},
    {C::分组框3, kPages, 2, {24, 20, 232, 209}, K::kGroupBox, "本地源码管理"},  // moved: 136 high
    {C::分组框4, kPages, 2, {24, 232, 561, 136}, K::kGroupBox, "源码管理"},     // moved: 263, 20
    {C::分组框5, kPages, 2, {263, 20, 272, 209}, K::kGroupBox, "预留区域"},  // moved: 24, 159, 800
                                                                             // × 264
    {C::通用对话框1, kPages, 2, {752, 324, 32, 32}, K::kFileDialog, nullptr},
    {C::选择框3, C::分组框3, -1, {24, 66, 80, 16}, K::kCheckBox, "选择文件夹"},     // moved: y 32
    {C::选择框5, C::分组框3, -1, {121, 67, 97, 16}, K::kCheckBox, "选择单一文件"},  // moved: y 33
    {C::选择框4, C::分组框3, -1, {24, 98, 144, 16}, K::kCheckBox, "选择电脑中的所有源码"},  // moved:
                                                                                            // y 64
    {C::图形按钮3, C::分组框3, -1, {26, 128, 80, 24}, K::kImageButton, nullptr},   // moved: y 94
    {C::图形按钮2, C::分组框3, -1, {128, 129, 80, 24}, K::kImageButton, nullptr},  // moved: y 95
    {C::透明标签2, C::分组框4, -1, {17, 28, 64, 24}, K::kTransparentLabel, "源码标题："},
    {C::编辑框2, C::分组框4, -1, {89, 27, 448, 24}, K::kEdit, nullptr},
    {C::透明标签3, C::分组框4, -1, {17, 65, 64, 24}, K::kTransparentLabel, "源码大小："},
    {C::编辑框3, C::分组框4, -1, {89, 65, 73, 24}, K::kEdit, nullptr},
    {C::透明标签4, C::分组框4, -1, {179, 63, 64, 24}, K::kTransparentLabel, "源码星级："},
    {C::组合框1, C::分组框4, -1, {241, 64, 104, 34}, K::kComboBox, nullptr},
    {C::标签2, C::分组框4, -1, {240, 62, 88, 22}, K::kLabel, nullptr},
    {C::图形按钮7, C::分组框4, -1, {327, 62, 16, 23}, K::kImageButton, nullptr},
    {C::透明标签6, C::分组框4, -1, {356, 60, 64, 24}, K::kTransparentLabel, "源码类型："},
    {C::组合框2, C::分组框4, -1, {416, 62, 104, 34}, K::kComboBox, nullptr},
    {C::标签3, C::分组框4, -1, {416, 61, 88, 22}, K::kLabel, nullptr},
    {C::图形按钮8, C::分组框4, -1, {503, 61, 16, 23}, K::kImageButton, nullptr},
    {C::透明标签5, C::分组框4, -1, {17, 96, 65, 24}, K::kTransparentLabel, "更新时间："},
    {C::编辑框5, C::分组框4, -1, {88, 98, 169, 24}, K::kEdit, nullptr},
    {C::图形按钮4, C::分组框4, -1, {269, 95, 80, 24}, K::kImageButton, nullptr},
    {C::图形按钮5, C::分组框4, -1, {366, 95, 80, 24}, K::kImageButton, nullptr},
    {C::图形按钮6, C::分组框4, -1, {459, 95, 80, 24}, K::kImageButton, nullptr},
    // moved: 48, 24, 720 × 232, its caption shrunk with its box
    {C::透明标签9,
     C::分组框5,
     -1,
     {16, 57, 240, 100},
     K::kTransparentLabel,
     "预留区域",
     FontKind::kSongReservedArea},
    {C::导入进度, C::分组框5, -1, {10, 20, 252, 180}, K::kTransparentLabel, nullptr},
};

TEST(Layout, EveryControlStandsWhereItIsPinned) {
  const auto layout = main_window_layout();
  ASSERT_EQ(layout.size(), std::size(kPinned)) << "controls in the layout";
  for (size_t i = 0; i < layout.size(); ++i) {
    const ControlSpec& built = layout[i];
    const PinnedRow& pinned = kPinned[i];
    const std::string which = "row " + std::to_string(i) + " (control #" +
                              std::to_string(static_cast<int>(pinned.name)) + ")";
    ASSERT_EQ(built.name, pinned.name) << which << " is another control";
    EXPECT_EQ(built.container, pinned.container) << which << ": container";
    EXPECT_EQ(built.page, pinned.page) << which << ": page";
    EXPECT_EQ(rect_text(built.rect), rect_text(pinned.rect)) << which << ": place and size";
    EXPECT_EQ(built.kind, pinned.kind) << which << ": kind";
    EXPECT_EQ(built.font, pinned.font) << which << ": font";
    EXPECT_STREQ(built.text, pinned.caption) << which << ": caption";
  }
}

// The fitting of a client area narrower (or wider) than the layout's: the buttons moved to
// the right edge stay inside it and keep clear of one another; 选择夹1 fills it.
TEST(Layout, FittedButtonsStayInsideAndApartInAnyClientWidth) {
  const Control moved[] = {C::图形按钮10, C::图形按钮13, C::图形按钮22, C::图形按钮23};
  for (int width : {700, 639, 637, 620, 600, 560}) {
    const int height = 516;
    std::vector<ControlRect> places;
    for (Control c : moved) {
      const ControlRect r = fitted_rect(control_spec(c), width, height);
      EXPECT_TRUE(inside(r, {0, 0, width, height}))
          << "control #" << static_cast<int>(c) << " at " << rect_text(r) << " in a client "
          << width << " wide";
      if (width >= kLayoutClientWidth) {
        EXPECT_EQ(rect_text(r), rect_text(control_spec(c).rect)) << "moved without need";
      }
      for (size_t j = 0; j < places.size(); ++j) {
        EXPECT_FALSE(overlap(r, places[j]))
            << "controls #" << static_cast<int>(c) << " and #" << static_cast<int>(moved[j])
            << " overlap in a client " << width << " wide";
      }
      places.push_back(r);
    }
    EXPECT_EQ(rect_text(fitted_rect(control_spec(C::选择夹1), width, height)),
              rect_text({0, 70, width, height - 70}));
    EXPECT_EQ(rect_text(fitted_rect(control_spec(C::图形按钮21), width, height)),
              rect_text(control_spec(C::图形按钮21).rect))
        << "a control that is not moved to the right edge";
  }
}

TEST(Layout, ResultListColumns) {
  struct Expect {
    std::string title;
    int width;
  };
  const Expect expect[] = {{"id", 50},   {"Code", 200}, {"Size", 80},
                           {"Star", 80}, {"Time", 135}, {"Network", 0}};
  auto columns = result_list_columns();
  ASSERT_EQ(columns.size(), std::size(expect));
  for (size_t i = 0; i < columns.size(); ++i) {
    EXPECT_EQ(columns[i].title, expect[i].title);
    EXPECT_EQ(columns[i].width, expect[i].width);
  }
}

TEST(Layout, ComboItems) {
  std::vector<std::string> ratings(rating_items().begin(), rating_items().end());
  EXPECT_EQ(ratings,
            (std::vector<std::string>{"☆☆☆☆☆", "★☆☆☆☆", "★★☆☆☆", "★★★☆☆", "★★★★☆", "★★★★★"}));
  std::vector<std::string> categories(category_items().begin(), category_items().end());
  EXPECT_EQ(categories, (std::vector<std::string>{"系统工具", "网络相关", "模块控件", "行业控件",
                                                  "游戏娱乐", "图形图像", "多媒体类", "数据库类"}));
}

TEST(Layout, HiddenMenus) {
  auto as_items = [](PopupMenu m) {
    std::vector<std::string> out;
    for (const MenuItemSpec& i : menu_items(m)) {
      out.push_back(std::to_string(i.level) + " " + i.caption);
    }
    return out;
  };
  EXPECT_EQ(
      as_items(PopupMenu::kSourceManagement),
      (std::vector<std::string>{"0 源码管理", "1 移动到", "2 系统工具", "2 游戏软件", "2 行业控件",
                                "2 模块控件", "2 图形图像", "2 多媒体类", "2 数据库类"}));
  EXPECT_EQ(as_items(PopupMenu::kMainMenu), (std::vector<std::string>{"0 菜单", "1 退出小助手"}));
  EXPECT_STREQ(menu_caption(MenuCommand::kExitHelper), "退出小助手");
  EXPECT_STREQ(menu_caption(MenuCommand::kNone), "");
}

}  // namespace
