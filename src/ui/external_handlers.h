#ifndef MOYAN_UI_EXTERNAL_HANDLERS_H_
#define MOYAN_UI_EXTERNAL_HANDLERS_H_

#include <functional>
#include <string>

#include "ui/controls.h"
#include "ui/window_port.h"

// The larger handlers, which the library, search and delivery parts of the program supply.
// The event map calls them; one left empty makes its event do nothing.
struct ExternalHandlers {
  // A category button: list the category (with its text).
  std::function<void(WindowPort&, const std::string& category)> list_category;
  // A "移动到" menu item: move the selected entry (with the item's caption).
  std::function<void(WindowPort&, const std::string& category)> move_entry_to_category;
  // Right click on the result list.
  std::function<void(WindowPort&)> show_entry_menu;
  // Double click on the result list.
  std::function<void(WindowPort&)> open_selected_entry;
  // The search button 图形按钮1.
  std::function<void(WindowPort&)> run_search;
  // 图形按钮2 (添加源码).
  std::function<void(WindowPort&)> import_sources;
  // 选择框3, 选择框4 or 选择框5 was clicked (it names which).
  std::function<void(WindowPort&, Control clicked)> select_import_scope;
  // 图形按钮4 (选择源码).
  std::function<void(WindowPort&)> choose_source_file;
  // 图形按钮5 (确定修改).
  std::function<void(WindowPort&)> add_manual_entry;
  // An item was chosen in 组合框1 or 组合框2.
  std::function<void(WindowPort&)> show_star_choice;
  std::function<void(WindowPort&)> show_type_choice;
};

#endif  // MOYAN_UI_EXTERNAL_HANDLERS_H_
