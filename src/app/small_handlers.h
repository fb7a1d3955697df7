#ifndef MOYAN_APP_SMALL_HANDLERS_H_
#define MOYAN_APP_SMALL_HANDLERS_H_

#include <string>

#include "ui/window_port.h"

// The tray icon's action kinds, as the tray event delivers them.
constexpr int kTrayLeftUp = 1;
constexpr int kTrayLeftDoubleClick = 2;
constexpr int kTrayRightUp = 3;

// MainWindow's title, which is also the tray tip.
extern const char kTrayTip[];

// The tray tip as shown: at most 62 bytes, never ending in half a character.
std::string tray_tip_text(const std::string& tip);

// MainWindow, position changed: minimised goes to the tray, anything else stays visible.
void hide_to_tray(WindowPort& window);
// MainWindow, tray event: a left double-click brings the window back.
void restore_from_tray(WindowPort& window, int kind);

void show_library_page(WindowPort& window);
void show_search_page(WindowPort& window);
void show_management_page(WindowPort& window);
void show_exit_menu(WindowPort& window);

// The two search-area boxes clear each other; the clicked box has changed itself already.
void select_local_search(WindowPort& window);
void select_web_search(WindowPort& window);

void drop_rating_list(WindowPort& window);
void drop_category_list(WindowPort& window);
void show_not_available(WindowPort& window);

// Link pictures and the contact button.
void open_source_site(WindowPort& window);
void open_community_site(WindowPort& window);
void open_vendor_site(WindowPort& window);
void open_contact_link(WindowPort& window);
void open_announced_contact(WindowPort& window);

// Ending the program: 图形按钮13 leaves the stores to the process end; "退出小助手"
// closes them first.
void close_main_window(WindowPort& window);
void exit_program(WindowPort& window);

#endif  // MOYAN_APP_SMALL_HANDLERS_H_
