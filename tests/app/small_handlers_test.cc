#include "app/small_handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "fake_window.h"

namespace {

using Log = std::vector<std::string>;

TEST(HideToTray, MinimisedGoesToTheTrayElseStaysVisible) {
  struct Case {
    bool minimised;
    bool expect_visible;
    int expect_icons;
  };
  const Case cases[] = {{true, false, 1}, {false, true, 0}};
  for (const Case& c : cases) {
    FakeWindow window;
    window.set_minimised(c.minimised);
    hide_to_tray(window);
    EXPECT_EQ(window.visible(), c.expect_visible) << "minimised " << c.minimised;
    EXPECT_EQ(window.tray_icons(), c.expect_icons) << "minimised " << c.minimised;
    if (c.expect_icons > 0) {
      EXPECT_EQ(window.tray_tip(), "墨砚工坊V1.0");
    }
  }
}

TEST(RestoreFromTray, OnlyALeftDoubleClickBringsTheWindowBack) {
  struct Case {
    int kind;
    bool expect_visible;
  };
  const Case cases[] = {{kTrayLeftUp, false},
                        {kTrayLeftDoubleClick, true},
                        {kTrayRightUp, false},
                        {0, false},
                        {99, false}};
  for (const Case& c : cases) {
    FakeWindow window;
    window.set_minimised(true);
    hide_to_tray(window);
    restore_from_tray(window, c.kind);
    EXPECT_EQ(window.visible(), c.expect_visible) << "kind " << c.kind;
    EXPECT_EQ(window.is_minimised(), !c.expect_visible) << "kind " << c.kind;
  }
}

TEST(RestoreFromTray, MinimiseRestoreMinimiseKeepsOneIcon) {
  FakeWindow window;
  for (int round = 0; round < 2; ++round) {
    window.set_minimised(true);
    hide_to_tray(window);
    EXPECT_FALSE(window.visible());
    restore_from_tray(window, kTrayLeftDoubleClick);
    hide_to_tray(window);  // the restore raises position changed too
    EXPECT_TRUE(window.visible());
  }
  EXPECT_EQ(window.tray_icons(), 1);
}

TEST(PageSwitches, EachShowsItsPageAndKeepsTheRows) {
  struct Case {
    void (*handler)(WindowPort&);
    int expect_page;
  };
  const Case cases[] = {{show_search_page, 1}, {show_management_page, 2}, {show_library_page, 0}};
  for (const Case& c : cases) {
    FakeWindow window;
    window.set_current_page(1);
    window.set_cell_text(window.insert_row(), 1, "kept");
    c.handler(window);
    EXPECT_EQ(window.current_page(), c.expect_page);
    EXPECT_EQ(window.cell_text(0, 1), "kept");
  }
}

// A click on a check box first flips the box itself, then runs its handler.
void click_area_box(FakeWindow& window, Control box) {
  window.set_checked(box, !window.is_checked(box));
  if (box == Control::选择框1) {
    select_local_search(window);
  } else {
    select_web_search(window);
  }
}

TEST(SearchAreaBoxes, ExcludeEachOtherAndCanBothBeCleared) {
  struct Case {
    const char* name;
    std::vector<Control> clicks;
    bool expect_local, expect_web;
  };
  const Case cases[] = {
      {"as created", {}, true, false},
      {"web", {Control::选择框2}, false, true},
      {"web twice", {Control::选择框2, Control::选择框2}, false, false},
      {"local (the checked one)", {Control::选择框1}, false, false},
      {"web then local", {Control::选择框2, Control::选择框1}, true, false},
      {"local off then on", {Control::选择框1, Control::选择框1}, true, false},
  };
  for (const Case& c : cases) {
    FakeWindow window;
    for (Control box : c.clicks) click_area_box(window, box);
    EXPECT_EQ(window.is_checked(Control::选择框1), c.expect_local) << c.name;
    EXPECT_EQ(window.is_checked(Control::选择框2), c.expect_web) << c.name;
  }
}

TEST(Links, EachPictureOpensItsAddress) {
  struct Case {
    void (*handler)(WindowPort&);
    std::string address;
  };
  const Case cases[] = {
      {open_source_site, std::string("http://") + source_site_host},
      {open_community_site, community_site_url},
      {open_vendor_site, vendor_site_url},
      {open_contact_link, contact_link},
  };
  for (const Case& c : cases) {
    FakeWindow window;
    c.handler(window);
    EXPECT_EQ(window.log(), Log{"open_url " + c.address});
  }
}

TEST(Links, SourceSiteAddressHasNoTrailingSlash) {
  FakeWindow window;
  open_source_site(window);
  ASSERT_EQ(window.log().size(), 1u);
  EXPECT_NE(window.log()[0].back(), '/');
}

TEST(OpenAnnouncedContact, PutsTheAnnouncedTextBetweenPrefixAndSuffixAsItStands) {
  const std::string texts[] = {"", "12345", " 12 34 ", "<b>9</b>"};
  for (const std::string& text : texts) {
    FakeWindow window;
    window.set_control_text(Control::编辑框6, text);
    open_announced_contact(window);
    EXPECT_EQ(window.log(),
              Log{"open_url " + std::string(contact_link_prefix) + text + contact_link_suffix})
        << "announced \"" << text << "\"";
  }
}

TEST(SmallHandlers, ShowNotAvailableUsesTheDefaultCaption) {
  FakeWindow window;
  show_not_available(window);
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].text, "暂时此功能不开放");
  EXPECT_EQ(window.boxes()[0].flags, kBoxOk);
  EXPECT_EQ(window.boxes()[0].caption, "信息：");
}

TEST(SmallHandlers, ShellCallsInOrder) {
  struct Case {
    const char* name;
    void (*handler)(WindowPort&);
    Log expect;
  };
  const Case cases[] = {
      {"exit_program closes the stores first",
       exit_program,
       {"close_stores", "request_window_close"}},
      {"close_main_window leaves the stores", close_main_window, {"request_window_close"}},
      {"show_exit_menu", show_exit_menu, {"pop_up_menu main"}},
      {"drop_rating_list",
       drop_rating_list,
       {"drop_down_list " + std::to_string(static_cast<int>(Control::组合框1))}},
      {"drop_category_list",
       drop_category_list,
       {"drop_down_list " + std::to_string(static_cast<int>(Control::组合框2))}},
  };
  for (const Case& c : cases) {
    FakeWindow window;
    c.handler(window);
    EXPECT_EQ(window.log(), c.expect) << c.name;
  }
}

TEST(TrayTipText, CutTo62BytesWithoutSplittingACharacter) {
  struct Case {
    std::string tip;
    std::string expect;
  };
  const std::string a61(61, 'a');
  const Case cases[] = {
      {"", ""},
      {"墨砚工坊V1.0", "墨砚工坊V1.0"},
      {std::string(62, 'a'), std::string(62, 'a')},
      {std::string(63, 'a'), std::string(62, 'a')},
      {a61 + "墨", a61},              // the character's second byte would be the 63rd
      {"a" + a61 + "墨", "a" + a61},  // exactly 62 before it
      {std::string(60, 'a') + "墨", std::string(60, 'a') + "墨"},
      {"ab\xB0", "ab"},  // a lead byte without its partner
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tray_tip_text(c.tip), c.expect) << "tip of " << c.tip.size() << " bytes";
  }
}

}  // namespace
