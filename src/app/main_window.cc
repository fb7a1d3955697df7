#include "app/main_window.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "app/art/artwork.h"
#include "app/container_window.h"
#include "app/control_art.h"
#include "app/event_map.h"
#include "app/image_button.h"
#include "app/label_window.h"
#include "app/layout.h"
#include "app/main_window_port.h"
#include "app/picture_box.h"
#include "app/result_list.h"
#include "app/shell_actions.h"
#include "app/small_handlers.h"
#include "app/store_bridge.h"
#include "app/window_messages.h"
#include "win32/code_page.h"
#include "win32/window_class.h"

namespace {

constexpr wchar_t kClassName[] = L"MoyanMainWindow";
constexpr COLORREF kLayoutBackground = RGB(255, 0, 255);
constexpr COLORREF kPageBackground = RGB(255, 255, 255);
constexpr int kComboMinimumHeight = 160;

HWND make_child(const wchar_t* cls, DWORD style, DWORD ex_style, const ControlSpec& spec,
                HWND parent, int height, const std::wstring& text) {
  return CreateWindowExW(
      ex_style, cls, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, spec.rect.left,
      spec.rect.top, spec.rect.width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(spec.name))),
      GetModuleHandleW(nullptr), nullptr);
}

// The layout assumes a client area 639 pixels wide; with wider window borders the controls
// placed along the right edge are pulled in, and 选择夹1 ends at the client area's edges.
void fit_into_client_area(ControlSpec& spec, const RECT& client) {
  switch (spec.name) {
    case Control::选择夹1:
      spec.rect.width = client.right - spec.rect.left;
      spec.rect.height = client.bottom - spec.rect.top;
      break;
    case Control::图形按钮10:
    case Control::图形按钮13:
    case Control::图形按钮22:
    case Control::图形按钮23:
      spec.rect.left -= std::max<int>(0, spec.rect.left + spec.rect.width - client.right);
      break;
    default:
      break;
  }
}

win32::OwnedMenu build_menu(PopupMenu which) {
  HMENU popup = CreatePopupMenu();
  HMENU submenu = nullptr;
  std::wstring submenu_caption;
  auto close_submenu = [&] {
    if (submenu != nullptr) {
      AppendMenuW(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                  submenu_caption.c_str());
      submenu = nullptr;
    }
  };
  std::span<const MenuItemSpec> items = menu_items(which);
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItemSpec& item = items[i];
    UINT_PTR id = kFirstMenuId + static_cast<UINT_PTR>(item.command);
    if (item.level == 1) {
      close_submenu();
      bool has_children = i + 1 < items.size() && items[i + 1].level == 2;
      if (has_children) {
        submenu = CreatePopupMenu();
        submenu_caption = win32::widen(item.caption);
      } else {
        AppendMenuW(popup, MF_STRING, id, win32::widen(item.caption).c_str());
      }
    } else if (item.level == 2 && submenu != nullptr) {
      AppendMenuW(submenu, MF_STRING, id, win32::widen(item.caption).c_str());
    }
  }
  close_submenu();
  return win32::OwnedMenu(popup);
}

}  // namespace

WindowPlatform default_platform() {
  return WindowPlatform{shell_open_url, close_all_stores, drag_by_caption};
}

bool MainWindow::register_classes() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    bool ok = win32::register_window_class(instance, kClassName, window_proc);
    return ok && register_image_button_class(instance) && register_picture_box_class(instance) &&
           register_label_class(instance) && register_container_class(instance);
  }();
  return registered;
}

MainWindow::MainWindow(WindowPlatform platform, ExternalHandlers handlers)
    : platform_(std::move(platform)), handlers_(std::move(handlers)) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

std::unique_ptr<MainWindow> MainWindow::create(WindowPlatform platform, ExternalHandlers handlers) {
  if (!register_classes()) return nullptr;
  std::unique_ptr<MainWindow> window(new MainWindow(std::move(platform), std::move(handlers)));
  window->port_ = make_main_window_port(*window);
  if (!window->create_window() || !window->create_controls()) return nullptr;
  return window;
}

bool MainWindow::create_window() {
  thread_id_ = GetCurrentThreadId();
  background_.reset(CreateSolidBrush(kLayoutBackground));
  int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  HWND hwnd = CreateWindowExW(
      0, kClassName, win32::widen(kMainWindowTitle).c_str(),
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, left, top,
      kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd == nullptr) return false;
  task_target_ = hwnd;
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  tray_ = std::make_unique<TrayIcon>(hwnd_, kMsgTrayEvent);
  small_icon_ = win32::OwnedIcon(load_program_icon(16));
  large_icon_ = win32::OwnedIcon(load_program_icon(32));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon_.get()));
  source_menu_ = build_menu(PopupMenu::kSourceManagement);
  main_menu_ = build_menu(PopupMenu::kMainMenu);
  return true;
}

bool MainWindow::create_controls() {
  auto gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  bold_font_.reset(CreateFontW(-14, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH, L"宋体"));
  huge_font_.reset(CreateFontW(-56, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH, L"宋体"));
  std::vector<HWND> raised;  // pictures and labels lie above the boxes they overlap
  RECT client;
  GetClientRect(hwnd_, &client);
  for (const ControlSpec& spec_row : main_window_layout()) {
    ControlSpec spec = spec_row;
    fit_into_client_area(spec, client);
    HWND parent = hwnd_;
    if (spec.container == Control::选择夹1) {
      if (spec.page < 0 || spec.page >= 3) return false;
      parent = pages_[spec.page];
    } else if (spec.container != Control::kMainWindow) {
      parent = control(spec.container);
    }
    if (parent == nullptr) return false;
    HFONT font = gui_font;
    if (spec.font == FontKind::kSongBold14) font = bold_font_.get();
    if (spec.font == FontKind::kSongReservedArea) font = huge_font_.get();
    std::wstring text = spec.text ? win32::widen(spec.text) : std::wstring();
    int id = kFirstControlId + static_cast<int>(spec.name);
    const ControlRect& r = spec.rect;
    HWND hwnd = nullptr;
    switch (spec.kind) {
      case ControlKind::kImageButton: {
        ButtonLooks looks = looks_of(spec.name, r.width, r.height);
        hwnd = create_image_button(parent, id, r.left, r.top, r.width, r.height, looks.normal,
                                   looks.hover, looks.pressed);
        raised.push_back(hwnd);
        break;
      }
      case ControlKind::kTransparentLabel:
      case ControlKind::kLabel: {
        bool transparent = spec.kind == ControlKind::kTransparentLabel;
        // 标签1 stands in for a list header and looks like one.
        COLORREF colour =
            spec.name == Control::标签1 ? GetSysColor(COLOR_BTNFACE) : kPageBackground;
        hwnd = create_label(parent, id, r.left, r.top, r.width, r.height, text.c_str(), font,
                            transparent, colour);
        raised.push_back(hwnd);
        break;
      }
      case ControlKind::kEdit:
        hwnd = make_child(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, spec, parent,
                          r.height, text);
        if (hwnd != nullptr) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no length limit
        break;
      case ControlKind::kCheckBox:
        hwnd = make_child(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, spec, parent, r.height, text);
        break;
      case ControlKind::kComboBox:
        hwnd = make_child(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, spec, parent,
                          std::max(r.height, kComboMinimumHeight), text);
        if (hwnd != nullptr) {
          auto items = spec.name == Control::组合框1 ? rating_items() : category_items();
          for (const char* item : items) {
            SendMessageW(hwnd, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(win32::widen(item).c_str()));
          }
        }
        break;
      case ControlKind::kListView:
        hwnd = create_result_list(parent, id, r.left, r.top, r.width, r.height);
        break;
      case ControlKind::kGroupBox:
        hwnd = create_container(parent, id, r.left, r.top, r.width, r.height,
                                ContainerKind::kGroupBox, text.c_str(), font, kPageBackground);
        break;
      case ControlKind::kPictureBox: {
        std::vector<HBITMAP> frames = picture_of(spec.name, r.width, r.height);
        hwnd = create_picture_box(parent, id, r.left, r.top, r.width, r.height, std::move(frames),
                                  is_link_picture(spec.name));
        raised.push_back(hwnd);
        break;
      }
      case ControlKind::kPushButton:
        hwnd = make_child(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, spec, parent, r.height, text);
        break;
      case ControlKind::kPageContainer:
        hwnd = create_container(parent, id, r.left, r.top, r.width, r.height, ContainerKind::kPage,
                                L"", font, kPageBackground);
        for (int page = 0; page < 3 && hwnd != nullptr; ++page) {
          pages_[page] = create_container(hwnd, 0, 0, 0, r.width, r.height, ContainerKind::kPage,
                                          L"", font, kPageBackground);
          if (pages_[page] == nullptr) return false;
          if (page != current_page_) ShowWindow(pages_[page], SW_HIDE);
        }
        break;
      case ControlKind::kFileDialog:
        continue;  // a dialog shown on demand, no window of its own
    }
    if (hwnd == nullptr) return false;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    controls_[static_cast<int>(spec.name)] = hwnd;
  }
  for (HWND hwnd : raised) {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SendMessageW(control(Control::选择框1), BM_SETCHECK, BST_CHECKED, 0);
  return true;
}

void MainWindow::start() {
  main_window_created(*this);
  started_ = true;
  hide_to_tray(*port_);  // the position changed event, raised once
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

int MainWindow::run_message_loop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

void MainWindow::set_current_page(int page) {
  if (page < 0 || page >= 3) return;
  current_page_ = page;
  for (int i = 0; i < 3; ++i) {
    if (i != page) ShowWindow(pages_[i], SW_HIDE);
  }
  ShowWindow(pages_[page], SW_SHOW);
}

void MainWindow::set_background_colour(COLORREF colour) {
  background_.reset(CreateSolidBrush(colour));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::pop_up_menu(PopupMenu menu) {
  POINT at = {};
  GetCursorPos(&at);
  HMENU popup = menu == PopupMenu::kMainMenu ? main_menu_.get() : source_menu_.get();
  SetForegroundWindow(hwnd_);
  auto chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x + 3,
                                                 at.y + 3, 0, hwnd_, nullptr));
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  if (chosen >= kFirstMenuId) {
    dispatch_menu_command(*port_, handlers_, static_cast<MenuCommand>(chosen - kFirstMenuId));
  }
}

void MainWindow::run_on_window_thread(const std::function<void()>& task) {
  if (GetCurrentThreadId() == thread_id_) {
    task();
  } else if (HWND hwnd = task_target_.load()) {
    auto* pointer = const_cast<std::function<void()>*>(&task);
    SendMessageW(hwnd, kMsgRunTask, 0, reinterpret_cast<LPARAM>(pointer));
  }
}

LRESULT CALLBACK MainWindow::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* window = static_cast<MainWindow*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return window->handle(message, wparam, lparam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, background_.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // The push button and the read-only parts on the window itself take its colour.
      break;
    case WM_COMMAND:
      on_command(wparam, lparam);
      return 0;
    case WM_NOTIFY:
      on_notify(*reinterpret_cast<const NMHDR*>(lparam));
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      if (started_) hide_to_tray(*port_);
      break;
    case kMsgTrayEvent: {
      int kind = 0;
      switch (LOWORD(lparam)) {
        case WM_LBUTTONUP:
          kind = kTrayLeftUp;
          break;
        case WM_LBUTTONDBLCLK:
          kind = kTrayLeftDoubleClick;
          break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
          kind = kTrayRightUp;
          break;
        default:
          break;
      }
      if (kind != 0) restore_from_tray(*port_, kind);
      return 0;
    }
    case kMsgCloseRequest:
      DestroyWindow(hwnd_);
      return 0;
    case kMsgRunTask:
      if (auto* task = reinterpret_cast<std::function<void()>*>(lparam)) (*task)();
      return 0;
    case kMsgBeginDrag:
      if (platform_.begin_drag) platform_.begin_drag(hwnd_);
      return 0;
    case WM_LBUTTONDOWN:
      // The window's own background moves it like its caption.
      if (platform_.begin_drag) platform_.begin_drag(hwnd_);
      return 0;
    case WM_DESTROY:
      task_target_ = nullptr;
      if (tray_) tray_->remove();
      PostQuitMessage(0);
      return 0;
    default:
      if (message == taskbar_created_ && taskbar_created_ != 0) {
        tray_->restore_after_taskbar_restart();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void MainWindow::on_command(WPARAM wparam, LPARAM lparam) {
  int id = LOWORD(wparam);
  int code = HIWORD(wparam);
  if (lparam == 0) {  // a menu item
    if (id >= kFirstMenuId) {
      dispatch_menu_command(*port_, handlers_, static_cast<MenuCommand>(id - kFirstMenuId));
    }
    return;
  }
  control_event(id, code);
}

void MainWindow::control_event(int id, int code) {
  int index = id - kFirstControlId;
  if (index <= 0 || index >= kControlCount) return;
  auto name = static_cast<Control>(index);
  if (code == BN_CLICKED) {
    dispatch_control_event(*port_, handlers_, name, ControlEvent::kClicked);
  } else if (code == kPictureLeftDown) {
    dispatch_control_event(*port_, handlers_, name, ControlEvent::kLeftButtonDown);
  } else if (code == CBN_SELCHANGE) {
    dispatch_control_event(*port_, handlers_, name, ControlEvent::kItemChosen);
  }
}

void MainWindow::on_notify(const NMHDR& header) {
  int index = static_cast<int>(header.idFrom) - kFirstControlId;
  if (index != static_cast<int>(Control::超级列表框1)) return;
  if (header.code == NM_DBLCLK) {
    dispatch_control_event(*port_, handlers_, Control::超级列表框1, ControlEvent::kDoubleClicked);
  } else if (header.code == NM_RCLICK) {
    dispatch_control_event(*port_, handlers_, Control::超级列表框1, ControlEvent::kRightClicked);
  }
}
