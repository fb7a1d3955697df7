// What a user meets of the real MainWindow under Wine: the program's icon, the column
// headings over the list, texts that read whole, and where the Tab key goes.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/label_window.h"
#include "app/layout.h"
#include "icon_pixels.h"
#include "window_driver.h"
#include "window_fixture.h"

namespace {

constexpr COLORREF kProbeBackground = RGB(90, 140, 60);

Pixels drawn_icon_of(HWND window, WPARAM which, int size) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
  if (icon == nullptr) return Pixels{};
  return drawn_icon(icon, size, kProbeBackground);
}

TEST_F(WindowTest, CaptionAndTaskSwitcherShowTheProgramsIcon) {
  open();
  struct Case {
    const char* name;
    WPARAM which;
    int size;
  };
  const Case cases[] = {{"small icon", ICON_SMALL, 16}, {"large icon", ICON_BIG, 32}};
  for (const Case& c : cases) {
    Pixels ours = ico_image(beside_this_program(L"program.ico"), c.size);
    ASSERT_FALSE(ours.empty()) << "no " << c.size << " px image in program.ico";
    Pixels shown = drawn_icon_of(window_->hwnd(), c.which, c.size);
    ASSERT_FALSE(shown.empty()) << "the window has no " << c.name;
    EXPECT_LE(largest_difference(shown, over_background(ours, kProbeBackground)), 2)
        << "the window's " << c.name << " is not the program's " << c.size << " px image";
  }
}

TEST_F(WindowTest, TrayShowsTheProgramsIcon) {
  open();
  ShowWindow(window_->hwnd(), SW_MINIMIZE);
  pump_for(300);
  ASSERT_TRUE(window_->tray().shown());
  // Without a notification area on the display, Wine shows its own small tray window.
  HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  if (tray == nullptr || !IsWindowVisible(tray)) {
    GTEST_SKIP() << "the display has a notification area of its own; its pixels are not ours "
                    "to read";
  }
  Pixels ours = ico_image(beside_this_program(L"program.ico"), 16);
  ASSERT_FALSE(ours.empty());
  RECT area;
  GetWindowRect(tray, &area);
  POINT at = {};
  bool found = false;
  for (int attempt = 0; attempt < 20 && !found; ++attempt) {  // the tray paints by itself
    found = find_opaque_part(screen_pixels(area), ours, 8, &at);
    if (!found) pump_for(100);
  }
  EXPECT_TRUE(found) << "the tray shows no icon with the pixels of the program's 16 px image";
}

// The x of each column edge of the result list (where column 1, 2, 3 and 4 begin), in the
// coordinates of `other`.
std::vector<int> column_edges_in(HWND list, HWND other) {
  std::vector<int> edges;
  int x = 0;
  for (int column = 0; column < 4; ++column) {
    x += ListView_GetColumnWidth(list, column);
    POINT edge = {x, 0};
    MapWindowPoints(list, other, &edge, 1);
    edges.push_back(edge.x);
  }
  return edges;
}

TEST_F(WindowTest, HeadingSeparatorsStandOnTheColumnEdges) {
  open();
  HWND list = control(Control::超级列表框1);
  HWND headings = control(Control::标签1);
  EXPECT_EQ(column_edges_in(list, GetParent(list)), (std::vector<int>{55, 255, 335, 415}))
      << "the list's column edges on the library page";
  RECT area;
  GetWindowRect(headings, &area);
  pump_for(100);
  Pixels shown = screen_pixels(area);
  ASSERT_FALSE(shown.empty());
  // Ink: a pixel much darker than the heading line's face colour.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto inked_column = [&](int x) {
    for (int y = 0; y < shown.height; ++y) {
      uint32_t p = shown.at(x, y);
      int darkest = std::min({int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)});
      if (darkest + 90 < std::min({GetRValue(face), GetGValue(face), GetBValue(face)})) return true;
    }
    return false;
  };
  std::vector<int> edges = column_edges_in(list, headings);
  int previous = 0;
  for (size_t i = 0; i < edges.size(); ++i) {
    const int edge = edges[i];
    // Blanks stand on each side of a separator, so all ink near the edge is the "|".
    std::vector<int> ink;
    for (int x = edge - 5; x <= edge + 5; ++x) {
      if (inked_column(x)) ink.push_back(x);
    }
    ASSERT_FALSE(ink.empty()) << "no \"|\" near the edge of column " << i + 1 << " at x " << edge;
    EXPECT_LE(ink.back() - ink.front(), 2) << "more than a \"|\" near x " << edge;
    EXPECT_LE(std::abs((ink.front() + ink.back()) / 2 - edge), 1)
        << "the \"|\" before column " << i + 1 << " stands at x " << (ink.front() + ink.back()) / 2
        << ", the column's edge at x " << edge;
    // The heading of the column before it lies inside that column.
    bool heading = false;
    for (int x = previous + 6; x < edge - 6 && !heading; ++x) heading = inked_column(x);
    EXPECT_TRUE(heading) << "no heading inside column " << i;
    previous = edge;
  }
}

bool is_or_holds(HWND control, HWND found) {
  return found == control || IsChild(control, found);
}

// Whether every second pixel of `area` (in the control's client coordinates) shows the
// control itself, neither covered by another window nor cut off by its container.
std::string first_hidden_point(HWND control, const RECT& area, HRGN outline = nullptr) {
  for (int y = area.top; y < area.bottom; y += 2) {
    for (int x = area.left; x < area.right; x += 2) {
      if (outline != nullptr && !PtInRegion(outline, x, y)) continue;
      POINT p = {x, y};
      ClientToScreen(control, &p);
      HWND found = WindowFromPoint(p);
      if (!is_or_holds(control, found)) {
        return "(" + std::to_string(x) + "," + std::to_string(y) + ") shows control #" +
               std::to_string(GetDlgCtrlID(found) - 100);
      }
    }
  }
  return std::string();
}

RECT caption_of_group_box(HWND box) {
  HDC dc = GetDC(box);
  auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  std::wstring caption = window_text_of(box);
  SIZE size = {};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  return RECT{10, 0, 10 + size.cx, size.cy};
}

bool holds_only_a_value(Control c) {
  return c == Control::编辑框6 || c == Control::编辑框4 || c == Control::图片框8 ||
         c == Control::按钮1 || c == Control::图形按钮11 || c == Control::图形按钮12;
}

TEST_F(WindowTest, NothingIsClippedOrCoveredOnAnyPage) {
  open();
  // The longest choices, so the labels over the combo boxes show their widest text.
  port().set_control_text(Control::标签2, "★★★★★");
  port().set_control_text(Control::标签3, "多媒体类");
  // Enough rows for a scroll bar, whose arrows must stay in reach.
  for (int i = 0; i < 60; ++i) port().set_cell_text(port().insert_row(), 1, "标题");
  for (int page = 0; page < kPageCount; ++page) {
    show_page(page);
    for (const ControlSpec& spec : main_window_layout()) {
      HWND hwnd = control(spec.name);
      if (hwnd == nullptr || !IsWindowVisible(hwnd) || holds_only_a_value(spec.name)) continue;
      RECT area;
      GetClientRect(hwnd, &area);
      HRGN outline = nullptr;
      switch (spec.kind) {
        case ControlKind::kLabel:
        case ControlKind::kTransparentLabel:
          area = label_text_bounds(hwnd);
          break;
        case ControlKind::kListView: {
          // The list's blank end lies under the page buttons; its scroll bar must not.
          SCROLLBARINFO bar = {};
          bar.cbSize = sizeof(bar);
          ASSERT_TRUE(GetScrollBarInfo(hwnd, OBJID_VSCROLL, &bar));
          ASSERT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the list has no scroll bar";
          MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&bar.rcScrollBar), 2);
          area = bar.rcScrollBar;
          break;
        }
        case ControlKind::kComboBox:
        case ControlKind::kPageContainer:
          continue;  // a label and a drop button lie over each combo box by design
        case ControlKind::kImageButton:
          if (spec.rect.top < 0) area.top = -spec.rect.top;  // the category row starts above
          outline = CreateRectRgn(0, 0, 0, 0);
          if (GetWindowRgn(hwnd, outline) == ERROR) {
            DeleteObject(outline);
            outline = nullptr;
          }
          break;
        default:
          break;
      }
      std::string hidden = first_hidden_point(hwnd, area, outline);
      if (outline != nullptr) DeleteObject(outline);
      EXPECT_EQ(hidden, "") << name_of(spec.name) << " on page " << page << " is covered or cut";
      if (spec.kind == ControlKind::kGroupBox) {
        EXPECT_EQ(first_hidden_point(hwnd, caption_of_group_box(hwnd)), "")
            << "the caption of " << name_of(spec.name) << " on page " << page;
      }
    }
  }
}

TEST_F(WindowTest, TabWalksOnlyThroughControlsInSight) {
  open();
  RECT client;
  GetClientRect(window_->hwnd(), &client);
  MapWindowPoints(window_->hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const Control first[kPageCount] = {Control::超级列表框1, Control::编辑框1, Control::选择框3};
  for (int page = 0; page < kPageCount; ++page) {
    show_page(page);
    SetFocus(control(first[page]));
    std::set<HWND> visited;
    for (int step = 0; step < 30; ++step) {
      HWND focus = GetFocus();
      ASSERT_NE(focus, nullptr) << "page " << page << ": focus lost after " << step << " tabs";
      visited.insert(focus);
      // In sight: shown, and at least most of it inside the client area (the list, as
      // laid out, reaches one pixel past the right edge).
      RECT r, seen = {};
      GetWindowRect(focus, &r);
      IntersectRect(&seen, &r, &client);
      auto area = [](const RECT& a) { return (a.right - a.left) * (a.bottom - a.top); };
      EXPECT_TRUE(IsWindowVisible(focus) && area(seen) * 10 >= area(r) * 9)
          << "page " << page << ": Tab reached control #" << GetDlgCtrlID(focus) - 100
          << ", which is out of sight";
      MSG msg = {focus, WM_KEYDOWN, VK_TAB, 0, 0, {}};
      MainWindow::dispatch(msg);
      pump_for(5);
    }
    // The list is the library page's only tab stop; the others have several.
    if (page != kLibraryPage) {
      EXPECT_GT(visited.size(), 1u) << "page " << page << ": Tab went nowhere";
    }
  }
  for (Control value_only : {Control::编辑框6, Control::编辑框4, Control::按钮1}) {
    EXPECT_FALSE(GetWindowLongPtrW(control(value_only), GWL_STYLE) & WS_TABSTOP)
        << name_of(value_only) << " out of sight is a tab stop";
  }
}

}  // namespace
