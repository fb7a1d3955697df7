#include "app/main_window.h"

#include <windows.h>

#include <commctrl.h>

#include "app/app_config.h"
#include "app/art/artwork.h"
#include "app/container_window.h"
#include "app/event_map.h"
#include "app/image_button.h"
#include "app/label_window.h"
#include "app/layout.h"
#include "app/picture_box.h"
#include "app/result_list_view.h"
#include "app/shell_actions.h"
#include "app/small_handlers.h"
#include "app/store_bridge.h"
#include "app/window_messages.h"
#include "net/http_request.h"
#include "win32/code_page.h"
#include "win32/window_class.h"

namespace {

constexpr wchar_t kClassName[] = L"MoyanMainWindow";
constexpr COLORREF kLayoutBackground = RGB(255, 0, 255);
constexpr UINT_PTR kCaptionTimerId = 0x4D43;  // gives the caption back to the window's title

}  // namespace

WindowPlatform default_platform() {
  return WindowPlatform{shell_open_url, close_all_stores, drag_by_caption,
                        [] { return http_request(announcement_page_url); }};
}

bool MainWindow::register_classes() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    return win32::register_window_class(instance, kClassName, window_proc) &&
           register_image_button_class(instance) && register_picture_box_class(instance) &&
           register_label_class(instance) && register_container_class(instance);
  }();
  return registered;
}

MainWindow::MainWindow(WindowPlatform platform) : platform_(std::move(platform)) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

std::unique_ptr<MainWindow> MainWindow::create(WindowPlatform platform) {
  if (!register_classes()) return nullptr;
  std::unique_ptr<MainWindow> window(new MainWindow(std::move(platform)));
  if (!window->create_window()) return nullptr;
  if (!build_controls(window->hwnd_, window->current_page_, window->controls_)) return nullptr;
  return window;
}

bool MainWindow::create_window() {
  background_.reset(CreateSolidBrush(kLayoutBackground));
  int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  HWND hwnd = CreateWindowExW(
      0, kClassName, win32::widen(kMainWindowTitle).c_str(),
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, left, top,
      kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd == nullptr) return false;
  thread_.attach(hwnd);
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  tray_ = std::make_unique<TrayIcon>(hwnd_, kMsgTrayEvent);
  // The caption and the task switcher show the program's icon: 16 and 32 pixels.
  small_icon_ = win32::OwnedIcon(load_program_icon(16));
  large_icon_ = win32::OwnedIcon(load_program_icon(32));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon_.get()));
  return true;
}

void MainWindow::start(WindowPort& port, ExternalHandlers handlers) {
  port_ = &port;
  handlers_ = std::move(handlers);
  main_window_created(*this);
  started_ = true;
  position_changed();  // raised once before the window is first shown
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void MainWindow::dispatch(MSG& msg) {
  HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int MainWindow::run_message_loop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch(msg);
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

void MainWindow::set_current_page(int page) {
  if (page < 0 || page >= kPageCount) return;
  current_page_ = page;
  for (int i = 0; i < kPageCount; ++i) {
    if (i != page) ShowWindow(controls_.pages[i], SW_HIDE);
  }
  ShowWindow(controls_.pages[page], SW_SHOW);
}

void MainWindow::set_background_colour(COLORREF colour) {
  background_.reset(CreateSolidBrush(colour));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::set_caption(const std::string& text) {
  KillTimer(hwnd_, kCaptionTimerId);
  SetWindowTextW(hwnd_, win32::widen(text).c_str());
}

void MainWindow::show_passing_caption(const std::string& text) {
  SetWindowTextW(hwnd_, win32::widen(text).c_str());
  SetTimer(hwnd_, kCaptionTimerId, static_cast<UINT>(passing_caption_ms_), nullptr);
}

void MainWindow::pop_up_menu(PopupMenu menu) {
  MenuCommand chosen = menus_.pop_up(menu, hwnd_);
  if (chosen != MenuCommand::kNone && port_ != nullptr) {
    dispatch_menu_command(*port_, handlers_, chosen);
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
    case WM_COMMAND:
      on_command(wparam);
      return 0;
    case WM_NOTIFY:
      return on_notify(*reinterpret_cast<NMHDR*>(lparam));
    case WM_MOVE:
    case WM_SIZE:
      position_changed();
      break;
    case kMsgTrayEvent:
      on_tray_event(lparam);
      return 0;
    case WM_TIMER:
      if (wparam != kCaptionTimerId) break;
      set_caption(kMainWindowTitle);
      return 0;
    case kMsgCloseRequest:
      DestroyWindow(hwnd_);
      return 0;
    case kMsgRunTask:
      WindowThread::run_sent_task(lparam);
      return 0;
    case kMsgRunPostedTask:
      WindowThread::run_posted_task(lparam);
      return 0;
    case kMsgBeginDrag:
    case WM_LBUTTONDOWN:  // the window's own background moves it like its caption
      if (platform_.begin_drag) platform_.begin_drag(hwnd_);
      return 0;
    case WM_DESTROY:
      thread_.detach();
      WindowThread::drop_posted_tasks(hwnd_);
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

void MainWindow::position_changed() {
  // Ignored until the created event has run: the window stays hidden meanwhile.
  if (started_) hide_to_tray(*port_);
}

void MainWindow::on_tray_event(LPARAM lparam) {
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
      return;
  }
  if (port_ != nullptr) restore_from_tray(*port_, kind);
}

void MainWindow::on_command(WPARAM wparam) {
  int index = LOWORD(wparam) - kFirstControlId;
  if (index <= 0 || index >= kControlCount) return;
  raise(static_cast<Control>(index), HIWORD(wparam));
}

void MainWindow::raise(Control control, int code) {
  if (port_ == nullptr) return;
  if (code == BN_CLICKED) {
    dispatch_control_event(*port_, handlers_, control, ControlEvent::kClicked);
  } else if (code == kPictureLeftDown) {
    dispatch_control_event(*port_, handlers_, control, ControlEvent::kLeftButtonDown);
  } else if (code == CBN_SELCHANGE) {
    dispatch_control_event(*port_, handlers_, control, ControlEvent::kItemChosen);
  }
}

LRESULT MainWindow::on_notify(NMHDR& header) {
  int index = static_cast<int>(header.idFrom) - kFirstControlId;
  if (index != static_cast<int>(Control::超级列表框1)) return 0;
  // The list keeps no rows of its own: it asks for what it paints and what is typed.
  if (header.code == LVN_GETDISPINFOW) {
    list_answer_display_info(*reinterpret_cast<NMLVDISPINFOW*>(&header));
    return 0;
  }
  if (header.code == LVN_ODFINDITEMW) {
    return list_find_typed_row(*reinterpret_cast<const NMLVFINDITEMW*>(&header));
  }
  if (port_ == nullptr) return 0;
  if (header.code == NM_DBLCLK) {
    dispatch_control_event(*port_, handlers_, Control::超级列表框1, ControlEvent::kDoubleClicked);
  } else if (header.code == NM_RCLICK) {
    dispatch_control_event(*port_, handlers_, Control::超级列表框1, ControlEvent::kRightClicked);
  }
  return 0;
}
