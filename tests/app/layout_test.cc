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

TEST(Layout, ColumnHeadingsText) {
  std::string headings = control_spec(Control::标签1).text;
  EXPECT_EQ(headings.size(), 98u);
  std::vector<size_t> widths;
  size_t start = 0;
  for (size_t bar = headings.find('|'); bar != std::string::npos;
       start = bar + 1, bar = headings.find('|', start)) {
    widths.push_back(bar - start);
  }
  widths.push_back(headings.size() - start);
  EXPECT_EQ(widths, (std::vector<size_t>{8, 32, 15, 15, 24}));
  EXPECT_EQ(headings.substr(0, 8), "   id   ");
  EXPECT_EQ(headings.substr(9, 11), "   源码名称");
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

TEST(Layout, CaptionsAndItems) {
  struct Case {
    Control control;
    const char* text;
  };
  const Case cases[] = {
      {Control::选择框1, "本地搜索"},
      {Control::选择框2, "网络搜索"},
      {Control::选择框3, "选择文件夹"},
      {Control::选择框5, "选择单一文件"},
      {Control::选择框4, "选择电脑中的所有源码"},
      {Control::分组框1, "友情链接"},
      {Control::分组框2, "关于小助手"},
      {Control::分组框3, "本地源码管理"},
      {Control::分组框4, "源码管理"},
      {Control::分组框5, "预留区域"},
      {Control::透明标签7, "QQ客服"},
      {Control::按钮1, "软件客服"},
  };
  for (const Case& c : cases) EXPECT_STREQ(control_spec(c.control).text, c.text);
  std::vector<std::string> ratings(rating_items().begin(), rating_items().end());
  EXPECT_EQ(ratings,
            (std::vector<std::string>{"☆☆☆☆☆", "★☆☆☆☆", "★★☆☆☆", "★★★☆☆", "★★★★☆", "★★★★★"}));
  std::vector<std::string> categories(category_items().begin(), category_items().end());
  EXPECT_EQ(categories, (std::vector<std::string>{"系统工具", "网络相关", "模块控件", "行业控件",
                                                  "游戏娱乐", "图形图像", "多媒体类", "数据库类"}));
  // Empty at creation: every edit box and the two choice labels.
  for (Control c : {Control::编辑框1, Control::编辑框2, Control::编辑框3, Control::编辑框4,
                    Control::编辑框5, Control::编辑框6, Control::标签2, Control::标签3}) {
    EXPECT_EQ(control_spec(c).text, nullptr) << static_cast<int>(c);
  }
}

TEST(Layout, AboutTextParagraphs) {
  std::string about = control_spec(Control::透明标签1).text;
  EXPECT_NE(about.find("V1.0"), std::string::npos);
  EXPECT_NE(about.find("\r\n\r\n①拥有小助手,找源码、找模块、找支持库都是不难题！\r\n\r\n"
                       "②拥有小助手,可以帮你管理您的源码,进行管理,加密保存！\r\n\r\n"
                       "③小助手永远免费,无官方网站,请勿轻信收费现象！"),
            std::string::npos);
  EXPECT_EQ(about.find("\r\n"), about.find('\n') - 1);
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
