#include "app/tray_icon.h"

#include <windows.h>

#include <shellapi.h>

#include "app/art/artwork.h"
#include "app/small_handlers.h"
#include "win32/code_page.h"

namespace {
constexpr UINT kIconId = 1;
}

TrayIcon::TrayIcon(HWND owner, UINT callback_message)
    : owner_(owner), callback_message_(callback_message), icon_(load_program_icon(16)) {}

NOTIFYICONDATAW TrayIcon::data(const std::string& tip) const {
  NOTIFYICONDATAW nid = {};
  nid.cbSize = sizeof(nid);
  nid.hWnd = owner_;
  nid.uID = kIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = callback_message_;
  nid.hIcon = icon_.get();
  std::wstring wide = win32::widen(tray_tip_text(tip));
  wide.copy(nid.szTip, std::size(nid.szTip) - 1);
  return nid;
}

void TrayIcon::show(const std::string& tip) {
  tip_ = tip;
  NOTIFYICONDATAW nid = data(tip);
  if (shown_ && Shell_NotifyIconW(NIM_MODIFY, &nid)) return;
  // Not shown yet, or lost with the notification area: add it.
  if (Shell_NotifyIconW(NIM_ADD, &nid)) {
    shown_ = true;
    ++times_added_;
  }
}

void TrayIcon::restore_after_taskbar_restart() {
  if (!shown_) return;
  NOTIFYICONDATAW nid = data(tip_);
  if (Shell_NotifyIconW(NIM_ADD, &nid)) ++times_added_;
}

void TrayIcon::remove() {
  if (!shown_) return;
  NOTIFYICONDATAW nid = data(tip_);
  Shell_NotifyIconW(NIM_DELETE, &nid);
  shown_ = false;
}
