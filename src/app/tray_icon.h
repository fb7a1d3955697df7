#ifndef MOYAN_APP_TRAY_ICON_H_
#define MOYAN_APP_TRAY_ICON_H_

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "win32/owned_handle.h"

// MainWindow's one notification-area icon. It stays from its first showing until the
// window is destroyed; showing it again changes it instead of adding a second one.
class TrayIcon {
 public:
  TrayIcon(HWND owner, UINT callback_message);
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { remove(); }

  // Adds the icon with this tip (GBK, cut to 62 bytes), or changes the one shown.
  void show(const std::string& tip);
  // The notification area was created anew (Explorer restarted): add the icon again.
  void restore_after_taskbar_restart();
  void remove();

  bool shown() const { return shown_; }
  // How many times an icon was added, for checking that there is only ever one.
  int times_added() const { return times_added_; }

 private:
  NOTIFYICONDATAW data(const std::string& tip) const;

  HWND owner_;
  UINT callback_message_;
  win32::OwnedIcon icon_;
  std::string tip_;
  bool shown_ = false;
  int times_added_ = 0;
};

#endif  // MOYAN_APP_TRAY_ICON_H_
