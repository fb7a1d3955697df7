#include "app/event_map.h"

#include "app/layout.h"
#include "app/small_handlers.h"

namespace {

using C = Control;
using E = ControlEvent;
using Handler = void (*)(WindowPort&, const ExternalHandlers&, Control);

// Calls an external handler when one is supplied.
template <typename F, typename... Args>
void call(const F& handler, Args&&... args) {
  if (handler) handler(std::forward<Args>(args)...);
}

void list_category_of(WindowPort& w, const ExternalHandlers& h, C c) {
  call(h.list_category, w, std::string(category_of_button(c)));
}

struct Binding {
  Control control;
  ControlEvent event;
  Handler handler;
};

constexpr Binding kEventMap[] = {
    {C::图形按钮14, E::kClicked, list_category_of},
    {C::图形按钮15, E::kClicked, list_category_of},
    {C::图形按钮16, E::kClicked, list_category_of},
    {C::图形按钮17, E::kClicked, list_category_of},
    {C::图形按钮18, E::kClicked, list_category_of},
    {C::图形按钮19, E::kClicked, list_category_of},
    {C::图形按钮20, E::kClicked, list_category_of},
    {C::图形按钮21, E::kClicked, list_category_of},
    {C::图形按钮22, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { show_search_page(w); }},
    {C::图形按钮23, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { show_management_page(w); }},
    {C::图形按钮6, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { show_library_page(w); }},
    {C::图形按钮13, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { close_main_window(w); }},
    {C::图形按钮10, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { show_exit_menu(w); }},
    {C::图形按钮9, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { open_announced_contact(w); }},
    {C::图形按钮1, E::kClicked,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.run_search, w); }},
    {C::选择框1, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { select_local_search(w); }},
    {C::选择框2, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { select_web_search(w); }},
    {C::超级列表框1, E::kDoubleClicked,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.open_selected_entry, w); }},
    {C::超级列表框1, E::kRightClicked,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.show_entry_menu, w); }},
    {C::图形按钮2, E::kClicked,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.import_sources, w); }},
    {C::选择框3, E::kClicked,
     [](WindowPort& w, const ExternalHandlers& h, C c) { call(h.select_import_scope, w, c); }},
    {C::选择框4, E::kClicked,
     [](WindowPort& w, const ExternalHandlers& h, C c) { call(h.select_import_scope, w, c); }},
    {C::选择框5, E::kClicked,
     [](WindowPort& w, const ExternalHandlers& h, C c) { call(h.select_import_scope, w, c); }},
    {C::图形按钮3, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { show_not_available(w); }},
    {C::图形按钮4, E::kClicked,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.choose_source_file, w); }},
    {C::图形按钮5, E::kClicked,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.add_manual_entry, w); }},
    {C::图形按钮7, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { drop_rating_list(w); }},
    {C::图形按钮8, E::kClicked,
     [](WindowPort& w, const ExternalHandlers&, C) { drop_category_list(w); }},
    {C::组合框1, E::kItemChosen,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.show_star_choice, w); }},
    {C::组合框2, E::kItemChosen,
     [](WindowPort& w, const ExternalHandlers& h, C) { call(h.show_type_choice, w); }},
    {C::图片框2, E::kLeftButtonDown,
     [](WindowPort& w, const ExternalHandlers&, C) { open_community_site(w); }},
    {C::图片框3, E::kLeftButtonDown,
     [](WindowPort& w, const ExternalHandlers&, C) { open_vendor_site(w); }},
    {C::图片框4, E::kLeftButtonDown,
     [](WindowPort& w, const ExternalHandlers&, C) { open_source_site(w); }},
    {C::图片框5, E::kLeftButtonDown,
     [](WindowPort& w, const ExternalHandlers&, C) { open_contact_link(w); }},
    {C::图片框6, E::kLeftButtonDown,
     [](WindowPort& w, const ExternalHandlers&, C) { open_contact_link(w); }},
    {C::图片框7, E::kLeftButtonDown,
     [](WindowPort& w, const ExternalHandlers&, C) { open_contact_link(w); }},
};

}  // namespace

const char* category_of_button(Control control) {
  switch (control) {
    case C::图形按钮14:
      return "系统工具";
    case C::图形按钮15:
      return "网络相关";
    case C::图形按钮16:
      return "模块控件";
    case C::图形按钮17:
      return "行业控件";
    case C::图形按钮18:
      return "游戏娱乐";
    case C::图形按钮19:
      return "多媒体类";
    case C::图形按钮20:
      return "数据库类";
    case C::图形按钮21:
      return "图形图像";
    default:
      return "";
  }
}

bool dispatch_control_event(WindowPort& window, const ExternalHandlers& handlers, Control control,
                            ControlEvent event) {
  for (const Binding& binding : kEventMap) {
    if (binding.control == control && binding.event == event) {
      binding.handler(window, handlers, control);
      return true;
    }
  }
  return false;
}

void dispatch_menu_command(WindowPort& window, const ExternalHandlers& handlers,
                           MenuCommand command) {
  if (command == MenuCommand::kExitHelper) {
    exit_program(window);
  } else if (command != MenuCommand::kNone) {
    call(handlers.move_entry_to_category, window, std::string(menu_caption(command)));
  }
}
