#include "app/event_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/layout.h"
#include "fake_window.h"

namespace {

using Log = std::vector<std::string>;

// External handlers that only note that they ran.
ExternalHandlers noting_handlers(Log& log) {
  ExternalHandlers h;
  h.list_category = [&log](WindowPort&, const std::string& c) { log.push_back("list " + c); };
  h.move_entry_to_category = [&log](WindowPort&, const std::string& c) {
    log.push_back("move " + c);
  };
  h.show_entry_menu = [&log](WindowPort&) { log.push_back("entry menu"); };
  h.open_selected_entry = [&log](WindowPort&) { log.push_back("open entry"); };
  h.run_search = [&log](WindowPort&) { log.push_back("run_search"); };
  h.import_sources = [&log](WindowPort&) { log.push_back("import"); };
  h.select_import_scope = [&log](WindowPort&, Control c) {
    log.push_back("scope " + std::to_string(static_cast<int>(c)));
  };
  h.choose_source_file = [&log](WindowPort&) { log.push_back("choose file"); };
  h.add_manual_entry = [&log](WindowPort&) { log.push_back("add entry"); };
  h.show_star_choice = [&log](WindowPort&) { log.push_back("star"); };
  h.show_type_choice = [&log](WindowPort&) { log.push_back("type"); };
  return h;
}

TEST(EventMap, ExternalHandlersAreCalledWithTheirArguments) {
  using C = Control;
  using E = ControlEvent;
  struct Case {
    Control control;
    ControlEvent event;
    std::string expect;
  };
  const Case cases[] = {
      {C::图形按钮14, E::kClicked, "list 系统工具"},
      {C::图形按钮15, E::kClicked, "list 网络相关"},
      {C::图形按钮16, E::kClicked, "list 模块控件"},
      {C::图形按钮17, E::kClicked, "list 行业控件"},
      {C::图形按钮18, E::kClicked, "list 游戏娱乐"},
      {C::图形按钮19, E::kClicked, "list 多媒体类"},
      {C::图形按钮20, E::kClicked, "list 数据库类"},
      {C::图形按钮21, E::kClicked, "list 图形图像"},
      {C::图形按钮1, E::kClicked, "run_search"},
      {C::超级列表框1, E::kDoubleClicked, "open entry"},
      {C::超级列表框1, E::kRightClicked, "entry menu"},
      {C::图形按钮2, E::kClicked, "import"},
      {C::选择框3, E::kClicked, "scope " + std::to_string(static_cast<int>(C::选择框3))},
      {C::选择框4, E::kClicked, "scope " + std::to_string(static_cast<int>(C::选择框4))},
      {C::选择框5, E::kClicked, "scope " + std::to_string(static_cast<int>(C::选择框5))},
      {C::图形按钮4, E::kClicked, "choose file"},
      {C::图形按钮5, E::kClicked, "add entry"},
      {C::组合框1, E::kItemChosen, "star"},
      {C::组合框2, E::kItemChosen, "type"},
  };
  for (const Case& c : cases) {
    Log log;
    FakeWindow window;
    EXPECT_TRUE(dispatch_control_event(window, noting_handlers(log), c.control, c.event));
    EXPECT_EQ(log, Log{c.expect});
  }
}

TEST(EventMap, SmallHandlersAreBound) {
  using C = Control;
  using E = ControlEvent;
  struct Case {
    Control control;
    ControlEvent event;
    Log expect_log;
    int expect_page;
  };
  const Case cases[] = {
      {C::图形按钮22, E::kClicked, {}, 1},
      {C::图形按钮23, E::kClicked, {}, 2},
      {C::图形按钮6, E::kClicked, {}, 0},
      {C::图形按钮13, E::kClicked, {"request_window_close"}, 1},
      {C::图形按钮10, E::kClicked, {"pop_up_menu main"}, 1},
      {C::图形按钮3, E::kClicked, {"message_box 暂时此功能不开放"}, 1},
      {C::图形按钮9,
       E::kClicked,
       {"open_url " + std::string(contact_link_prefix) + contact_link_suffix},
       1},
      {C::图片框2, E::kLeftButtonDown, {"open_url " + std::string(community_site_url)}, 1},
      {C::图片框3, E::kLeftButtonDown, {"open_url " + std::string(vendor_site_url)}, 1},
      {C::图片框4, E::kLeftButtonDown, {"open_url http://" + std::string(source_site_host)}, 1},
      {C::图片框5, E::kLeftButtonDown, {"open_url " + std::string(contact_link)}, 1},
      {C::图片框6, E::kLeftButtonDown, {"open_url " + std::string(contact_link)}, 1},
      {C::图片框7, E::kLeftButtonDown, {"open_url " + std::string(contact_link)}, 1},
      {C::图形按钮7,
       E::kClicked,
       {"drop_down_list " + std::to_string(static_cast<int>(C::组合框1))},
       1},
      {C::图形按钮8,
       E::kClicked,
       {"drop_down_list " + std::to_string(static_cast<int>(C::组合框2))},
       1},
  };
  for (const Case& c : cases) {
    FakeWindow window;
    window.set_current_page(1);
    EXPECT_TRUE(dispatch_control_event(window, ExternalHandlers{}, c.control, c.event))
        << static_cast<int>(c.control);
    EXPECT_EQ(window.log(), c.expect_log) << static_cast<int>(c.control);
    EXPECT_EQ(window.current_page(), c.expect_page) << static_cast<int>(c.control);
  }
}

TEST(EventMap, ControlsWithoutHandlerDoNothing) {
  using C = Control;
  const Control unbound[] = {C::标签1,   C::标签2,      C::标签3,      C::透明标签1, C::透明标签7,
                             C::分组框1, C::分组框5,    C::编辑框1,    C::编辑框6,   C::图片框1,
                             C::图片框8, C::图形按钮11, C::图形按钮12, C::按钮1};
  for (Control control : unbound) {
    Log log;
    FakeWindow window;
    EXPECT_FALSE(
        dispatch_control_event(window, noting_handlers(log), control, ControlEvent::kClicked));
    EXPECT_FALSE(dispatch_control_event(window, noting_handlers(log), control,
                                        ControlEvent::kLeftButtonDown));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(window.log().empty());
  }
}

TEST(EventMap, MissingExternalHandlerIsQuiet) {
  FakeWindow window;
  EXPECT_TRUE(dispatch_control_event(window, ExternalHandlers{}, Control::图形按钮1,
                                     ControlEvent::kClicked));
  dispatch_menu_command(window, ExternalHandlers{}, MenuCommand::kMoveToDatabase);
  EXPECT_TRUE(window.log().empty());
}

TEST(EventMap, MenuItems) {
  struct Case {
    MenuCommand command;
    Log expect_external;
    Log expect_window;
  };
  const Case cases[] = {
      {MenuCommand::kMoveToSystemTools, {"move 系统工具"}, {}},
      {MenuCommand::kMoveToGameSoftware, {"move 游戏软件"}, {}},
      {MenuCommand::kMoveToIndustry, {"move 行业控件"}, {}},
      {MenuCommand::kMoveToModules, {"move 模块控件"}, {}},
      {MenuCommand::kMoveToGraphics, {"move 图形图像"}, {}},
      {MenuCommand::kMoveToMultimedia, {"move 多媒体类"}, {}},
      {MenuCommand::kMoveToDatabase, {"move 数据库类"}, {}},
      {MenuCommand::kExitHelper, {}, {"close_stores", "request_window_close"}},
      {MenuCommand::kNone, {}, {}},
  };
  for (const Case& c : cases) {
    Log log;
    FakeWindow window;
    dispatch_menu_command(window, noting_handlers(log), c.command);
    EXPECT_EQ(log, c.expect_external) << static_cast<int>(c.command);
    EXPECT_EQ(window.log(), c.expect_window) << static_cast<int>(c.command);
  }
}

}  // namespace
