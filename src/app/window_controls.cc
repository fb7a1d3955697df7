#include "app/window_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/container_window.h"
#include "app/control_art.h"
#include "app/image_button.h"
#include "app/label_window.h"
#include "app/layout.h"
#include "app/picture_box.h"
#include "app/result_list_view.h"
#include "app/window_messages.h"
#include "win32/code_page.h"

namespace {

constexpr COLORREF kPageBackground = RGB(255, 255, 255);
constexpr int kComboMinimumHeight = 160;

win32::Font song_font(int pixel_height, int weight) {
  return win32::Font(CreateFontW(-pixel_height, 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                 GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
}

RECT place_of(const ControlRect& r, int height) {
  return RECT{r.left, r.top, r.left + r.width, r.top + height};
}

// Controls that only hold a value and lie outside the window take no focus: the Tab key
// must not walk into a box the user cannot see (text typed there would land unseen).
bool out_of_sight(Control name) {
  return name == Control::编辑框6 || name == Control::编辑框4 || name == Control::按钮1;
}

HWND make_system_control(const wchar_t* cls, DWORD style, DWORD ex_style, const ControlSpec& spec,
                         HWND parent, int height, const std::wstring& text) {
  if (out_of_sight(spec.name)) {
    style = (style & ~static_cast<DWORD>(WS_TABSTOP)) | WS_DISABLED;
  }
  RECT place = place_of(spec.rect, height);
  return CreateWindowExW(
      ex_style, cls, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, place.left,
      place.top, place.right - place.left, place.bottom - place.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(spec.name))),
      GetModuleHandleW(nullptr), nullptr);
}

// 标签1's separators stand on the result list's column edges, in 标签1's own coordinates.
void line_up_headings(const WindowControls& built) {
  HWND list = built[Control::超级列表框1];
  HWND headings = built[Control::标签1];
  std::vector<int> edges;
  int x = 0;
  auto columns = result_list_columns();
  for (size_t i = 0; i + 1 < columns.size(); ++i) {
    x += columns[i].width;
    if (columns[i + 1].width == 0) break;  // a zero-wide column has no heading
    POINT edge = {x, 0};
    MapWindowPoints(list, headings, &edge, 1);
    edges.push_back(edge.x);
  }
  set_label_columns(headings, std::move(edges));
}

class Builder {
 public:
  Builder(HWND window, int first_page, WindowControls& built)
      : window_(window), first_page_(first_page), built_(built) {}

  bool build() {
    built_.bold_font = song_font(14, FW_BOLD);
    built_.reserved_area_font = song_font(56, FW_NORMAL);
    RECT client;
    GetClientRect(window_, &client);
    for (const ControlSpec& row : main_window_layout()) {
      ControlSpec spec = row;
      spec.rect = fitted_rect(row, client.right, client.bottom);
      if (spec.kind == ControlKind::kFileDialog) continue;  // a dialog shown on demand
      HWND parent = parent_of(spec);
      if (parent == nullptr) return false;
      HWND hwnd = create(spec, parent);
      if (hwnd == nullptr) return false;
      SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_of(spec)), FALSE);
      built_.controls[static_cast<int>(spec.name)] = hwnd;
    }
    // Pictures and labels lie above the boxes they overlap.
    for (HWND hwnd : raised_) {
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SendMessageW(built_[Control::选择框1], BM_SETCHECK, BST_CHECKED, 0);
    // The reserved area shows its caption until an import has run.
    ShowWindow(built_[Control::导入进度], SW_HIDE);
    line_up_headings(built_);
    return true;
  }

 private:
  HWND parent_of(const ControlSpec& spec) const {
    if (spec.container == Control::选择夹1) {
      return spec.page >= 0 && spec.page < kPageCount ? built_.pages[spec.page] : nullptr;
    }
    if (spec.container == Control::kMainWindow) return window_;
    return built_[spec.container];
  }

  HFONT font_of(const ControlSpec& spec) const {
    if (spec.font == FontKind::kSongBold14) return built_.bold_font.get();
    if (spec.font == FontKind::kSongReservedArea) return built_.reserved_area_font.get();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }

  HWND create(const ControlSpec& spec, HWND parent) {
    std::wstring text = spec.text ? win32::widen(spec.text) : std::wstring();
    const int id = kFirstControlId + static_cast<int>(spec.name);
    const ControlRect& r = spec.rect;
    const RECT place = place_of(r, r.height);
    switch (spec.kind) {
      case ControlKind::kImageButton:
        return raise(
            create_image_button(parent, id, place, looks_of(spec.name, r.width, r.height)));
      case ControlKind::kTransparentLabel:
        return raise(create_label(parent, id, place, text.c_str(), font_of(spec),
                                  LabelKind::kTransparent, kPageBackground));
      case ControlKind::kLabel:
        // 标签1 stands in for a list header and looks like one.
        return raise(create_label(
            parent, id, place, text.c_str(), font_of(spec), LabelKind::kLabel,
            spec.name == Control::标签1 ? GetSysColor(COLOR_BTNFACE) : kPageBackground));
      case ControlKind::kPictureBox:
        return raise(create_picture_box(parent, id, place, picture_of(spec.name, r.width, r.height),
                                        is_link_picture(spec.name)));
      case ControlKind::kEdit: {
        HWND edit = make_system_control(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                                        spec, parent, r.height, text);
        if (edit != nullptr) SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // no length limit
        return edit;
      }
      case ControlKind::kCheckBox:
        return make_system_control(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, spec, parent,
                                   r.height, text);
      case ControlKind::kPushButton:
        return make_system_control(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, spec, parent, r.height,
                                   text);
      case ControlKind::kComboBox:
        return create_combo(spec, parent, text);
      case ControlKind::kListView:
        return create_result_list(parent, id, place);
      case ControlKind::kGroupBox:
        return create_container(parent, id, place, ContainerKind::kGroupBox, text.c_str(),
                                font_of(spec), kPageBackground);
      case ControlKind::kPageContainer:
        return create_pages(parent, id, place);
      case ControlKind::kFileDialog:
        break;
    }
    return nullptr;
  }

  HWND create_combo(const ControlSpec& spec, HWND parent, const std::wstring& text) {
    HWND combo =
        make_system_control(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, spec,
                            parent, std::max(spec.rect.height, kComboMinimumHeight), text);
    if (combo == nullptr) return nullptr;
    // Its label and arrow button lie over it and show its choice and open its list; of
    // itself it shows nothing, or its field's edge would peek out under the label and beside
    // the arrow. The list it drops is a window of its own and still shows.
    SetWindowRgn(combo, CreateRectRgn(0, 0, 0, 0), FALSE);
    auto items = spec.name == Control::组合框1 ? rating_items() : category_items();
    for (const char* item : items) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::widen(item).c_str()));
    }
    return combo;
  }

  // 选择夹1 with its pages, each filling it; only the program switches them.
  HWND create_pages(HWND parent, int id, const RECT& place) {
    HWND container =
        create_container(parent, id, place, ContainerKind::kPage, L"", nullptr, kPageBackground);
    if (container == nullptr) return nullptr;
    const RECT page_place = {0, 0, place.right - place.left, place.bottom - place.top};
    for (int page = 0; page < kPageCount; ++page) {
      HWND hwnd = create_container(container, 0, page_place, ContainerKind::kPage, L"", nullptr,
                                   kPageBackground);
      if (hwnd == nullptr) return nullptr;
      if (page != first_page_) ShowWindow(hwnd, SW_HIDE);
      built_.pages[page] = hwnd;
    }
    return container;
  }

  HWND raise(HWND hwnd) {
    raised_.push_back(hwnd);
    return hwnd;
  }

  HWND window_;
  int first_page_;
  WindowControls& built_;
  std::vector<HWND> raised_;
};

}  // namespace

bool build_controls(HWND window, int first_page, WindowControls& built) {
  return Builder(window, first_page, built).build();
}
