#include "app/small_handlers.h"

#include <string>

#include "app/app_config.h"
#include "app/layout.h"

const char kTrayTip[] = "墨砚工坊V1.0";

std::string tray_tip_text(const std::string& tip) {
  constexpr size_t kMaxTipBytes = 62;
  size_t end = 0;
  while (end < tip.size()) {
    size_t width = static_cast<unsigned char>(tip[end]) >= 0x80 ? 2 : 1;
    if (end + width > kMaxTipBytes || end + width > tip.size()) break;
    end += width;
  }
  return tip.substr(0, end);
}

void hide_to_tray(WindowPort& window) {
  if (window.is_minimised()) {
    window.set_window_visible(false);
    window.set_tray_icon(kTrayTip);
  } else {
    window.set_window_visible(true);
  }
}

void restore_from_tray(WindowPort& window, int kind) {
  if (kind != kTrayLeftDoubleClick) return;
  window.set_window_visible(true);
  window.restore_window();
}

void show_library_page(WindowPort& window) {
  window.set_current_page(kLibraryPage);
}
void show_search_page(WindowPort& window) {
  window.set_current_page(kSearchPage);
}
void show_management_page(WindowPort& window) {
  window.set_current_page(kManagementPage);
}
void show_exit_menu(WindowPort& window) {
  window.pop_up_menu(PopupMenu::kMainMenu);
}

void select_local_search(WindowPort& window) {
  window.set_checked(Control::选择框2, false);
}
void select_web_search(WindowPort& window) {
  window.set_checked(Control::选择框1, false);
}

void drop_rating_list(WindowPort& window) {
  window.drop_down_list(Control::组合框1);
}
void drop_category_list(WindowPort& window) {
  window.drop_down_list(Control::组合框2);
}

void show_not_available(WindowPort& window) {
  window.message_box("暂时此功能不开放", kBoxOk);
}

void open_source_site(WindowPort& window) {
  window.open_url(std::string("http://") + source_site_host);
}
void open_community_site(WindowPort& window) {
  window.open_url(community_site_url);
}
void open_vendor_site(WindowPort& window) {
  window.open_url(vendor_site_url);
}
void open_contact_link(WindowPort& window) {
  window.open_url(contact_link);
}

void open_announced_contact(WindowPort& window) {
  // The announced text goes in as it stands: the announcement page is the maker's own.
  std::string announced = window.control_text(Control::编辑框6);
  window.open_url(contact_link_prefix + announced + contact_link_suffix);
}

void close_main_window(WindowPort& window) {
  window.request_window_close();
}

void exit_program(WindowPort& window) {
  window.close_stores();
  window.request_window_close();
}
