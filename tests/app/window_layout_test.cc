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
#include "win32/code_page.h"
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

// Every fourth position from lo, and the last one before hi: a control cut off by its
// container loses its outermost rows or columns first, so the edges are always looked at.
std::vector<int> probes(LONG lo, LONG hi) {
  std::vector<int> at;
  for (LONG v = lo; v < hi; v += 4) at.push_back(v);
  if (hi > lo && at.back() != hi - 1) at.push_back(hi - 1);
  return at;
}

// Whether the pixels of `area` (in the control's client coordinates) on a 4-pixel grid and
// along its edges show the control itself, neither covered by another window nor cut off
// by its container.
std::string first_hidden_point(HWND control, const RECT& area, HRGN outline = nullptr) {
  const std::vector<int> columns = probes(area.left, area.right);
  for (int y : probes(area.top, area.bottom)) {
    for (int x : columns) {
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

// What the window of each kind of control must be.
struct KindOfWindow {
  const wchar_t* window_class;
  ControlKind kind;
  DWORD type_mask, type;  // style bits that make the kind (a check box that checks itself...)
  bool tab_stop;
  bool has_font;
};

const KindOfWindow kKinds[] = {
    {L"MoyanImageButton", ControlKind::kImageButton, 0, 0, false, false},
    {L"MoyanLabel", ControlKind::kTransparentLabel, 0, 0, false, true},
    {L"MoyanLabel", ControlKind::kLabel, 0, 0, false, true},
    {L"Edit", ControlKind::kEdit, ES_MULTILINE | ES_AUTOHSCROLL, ES_AUTOHSCROLL, true, true},
    {L"Button", ControlKind::kCheckBox, BS_TYPEMASK, BS_AUTOCHECKBOX, true, true},
    {L"ComboBox", ControlKind::kComboBox, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST, true, true},
    {WC_LISTVIEWW, ControlKind::kListView, LVS_TYPEMASK, LVS_REPORT, true, false},
    {L"MoyanContainer", ControlKind::kGroupBox, 0, 0, false, true},
    {L"MoyanPictureBox", ControlKind::kPictureBox, 0, 0, false, false},
    {L"Button", ControlKind::kPushButton, BS_TYPEMASK, BS_PUSHBUTTON, true, true},
    {L"MoyanContainer", ControlKind::kPageContainer, 0, 0, false, false},
};

// Whether a control's font is the one its layout row names.
std::string font_mismatch(HWND hwnd, FontKind kind) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (kind == FontKind::kDefault) {
    return font == GetStockObject(DEFAULT_GUI_FONT) ? "" : "not the default GUI font";
  }
  LOGFONTW face = {};
  if (font == nullptr || GetObjectW(font, sizeof(face), &face) == 0) return "no font";
  if (std::wstring(face.lfFaceName) != L"宋体") return "not 宋体";
  const bool bold = kind == FontKind::kSongBold14;
  if ((face.lfWeight >= FW_BOLD) != bold) return bold ? "not bold" : "bold";
  if (bold && std::abs(face.lfHeight) != 14) return "not 14 pixels high";
  if (!bold && face.lfCharSet != GB2312_CHARSET) return "not the GB2312 character set";
  return "";
}

// The window built from the layout: each control's window lies in its container at its
// row's place (fitted to the client area), shows its caption in its font, and is the kind
// of window its row names.
TEST_F(WindowTest, EveryControlIsBuiltAsItsLayoutRowSays) {
  open();
  RECT client;
  GetClientRect(window_->hwnd(), &client);
  for (int page = 0; page < kPageCount; ++page) {
    show_page(page);
    for (const ControlSpec& spec : main_window_layout()) {
      HWND hwnd = control(spec.name);
      if (spec.kind == ControlKind::kFileDialog) {
        EXPECT_EQ(hwnd, nullptr) << "the file dialog has a window of its own";
        continue;
      }
      ASSERT_NE(hwnd, nullptr) << name_of(spec.name) << " was not built";
      const std::string which = name_of(spec.name);
      HWND parent = GetParent(hwnd);
      if (spec.container == Control::选择夹1) {
        EXPECT_EQ(GetParent(parent), control(Control::选择夹1)) << which << " is on no page";
        EXPECT_EQ(IsWindowVisible(parent) != 0, spec.page == page)
            << which << " is not on page " << spec.page;
      } else if (page == 0) {
        HWND container =
            spec.container == Control::kMainWindow ? window_->hwnd() : control(spec.container);
        EXPECT_EQ(parent, container) << which << " is in another container";
      }
      if (page != 0) continue;  // the rest once

      RECT r;
      GetWindowRect(hwnd, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      const ControlRect want = fitted_rect(spec, client.right, client.bottom);
      EXPECT_EQ(r.left, want.left) << which;
      EXPECT_EQ(r.top, want.top) << which;
      EXPECT_EQ(r.right - r.left, want.width) << which;
      // A drop-down list's window is as high as its field; the layout's height is its list's.
      if (spec.kind != ControlKind::kComboBox) {
        EXPECT_EQ(r.bottom - r.top, want.height) << which;
      }

      EXPECT_EQ(window_text_of(hwnd), spec.text ? win32::widen(spec.text) : L"")
          << which << ": caption";
      const KindOfWindow* kind = nullptr;
      for (const KindOfWindow& k : kKinds) {
        if (k.kind == spec.kind) kind = &k;
      }
      ASSERT_NE(kind, nullptr) << which;
      wchar_t window_class[64] = {};
      GetClassNameW(hwnd, window_class, 64);
      EXPECT_EQ(_wcsicmp(window_class, kind->window_class), 0) << which << ": window class";
      const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
      EXPECT_EQ(style & kind->type_mask, kind->type) << which << ": style";
      // Out of sight, nothing takes the keyboard (see TabWalksOnlyThroughControlsInSight).
      if (!holds_only_a_value(spec.name)) {
        EXPECT_EQ((style & WS_TABSTOP) != 0, kind->tab_stop) << which << ": tab stop";
      }
      if (kind->has_font) {
        EXPECT_EQ(font_mismatch(hwnd, spec.font), "") << which << ": font";
      }
    }
  }
}

// Each combo box lies under the label that shows its choice and the arrow that opens it:
// nothing of the box itself shows around them, and its list still drops down.
TEST_F(WindowTest, ComboBoxesShowOnlyTheirLabelsAndArrows) {
  open();
  show_page(kManagementPage);
  struct Case {
    Control combo, label, arrow;
  };
  for (const Case& c : {Case{Control::组合框1, Control::标签2, Control::图形按钮7},
                        Case{Control::组合框2, Control::标签3, Control::图形按钮8}}) {
    RECT box, label, arrow;
    GetWindowRect(control(c.combo), &box);
    GetWindowRect(control(c.label), &label);
    GetWindowRect(control(c.arrow), &arrow);
    const Pixels shown = screen_pixels(box);
    ASSERT_FALSE(shown.empty());
    std::string seen;
    for (int y = 0; y < shown.height && seen.empty(); ++y) {
      for (int x = 0; x < shown.width && seen.empty(); ++x) {
        const POINT at = {box.left + x, box.top + y};
        if (PtInRect(&label, at) || PtInRect(&arrow, at)) continue;
        if ((shown.at(x, y) & 0xFFFFFF) != 0xFFFFFF) {
          seen = "a pixel at (" + std::to_string(x) + "," + std::to_string(y) + ") of the box";
        }
      }
    }
    EXPECT_EQ(seen, "") << name_of(c.combo) << " shows beside its label and arrow";
    port().drop_down_list(c.combo);
    pump_for(100);
    EXPECT_TRUE(SendMessageW(control(c.combo), CB_GETDROPPEDSTATE, 0, 0))
        << name_of(c.combo) << "'s list did not drop down";
    SendMessageW(control(c.combo), CB_SHOWDROPDOWN, FALSE, 0);
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
