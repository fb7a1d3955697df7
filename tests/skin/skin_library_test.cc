// The skin library under Wine: what each kind of window looks like once a skin is attached,
// read from the screen. Every colour of the test skin is its own, so a pixel tells which
// part of the skin painted it. The tests share one process and run in order: windows made
// before the first attach, the attach, windows made after it, then a refused block and a
// second skin.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "icon_pixels.h"
#include "skin/skin_contrast.h"
#include "skin/skinned_window.h"  // rgb_of
#include "skin_test_window.h"
#include "window_driver.h"

namespace {

const SkinData kSkin = distinct_skin(0);
const SkinData kSecondSkin = distinct_skin(3);

COLORREF skin(SkinColour role) {
  return colour_of(kSkin, role);
}

// A worker that asks a question when told to, as a download asks "下载？": a message box
// of its own thread, with no owner.
class Asker {
 public:
  Asker() : go_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = CreateThread(nullptr, 0, &Asker::run, this, 0, &id_);
  }
  Asker(const Asker&) = delete;
  Asker& operator=(const Asker&) = delete;
  ~Asker() {
    SetEvent(go_);
    if (HWND box = box_now()) PostMessageW(box, WM_COMMAND, IDNO, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(go_);
  }
  // Asks, and gives the question's box once it is on the screen (null when it never is).
  HWND ask() {
    SetEvent(go_);
    for (int waited = 0; waited < 5000; waited += 20) {
      if (HWND box = box_now(); box != nullptr && IsWindowVisible(box)) {
        // Painted whole by its own thread before this returns.
        RedrawWindow(box, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return box;
      }
      Sleep(20);
    }
    return nullptr;
  }
  // Answers No; true once the worker has ended.
  bool answer(HWND box) {
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    return WaitForSingleObject(thread_, 5000) == WAIT_OBJECT_0;
  }

 private:
  static DWORD WINAPI run(void* self) {
    auto* asker = static_cast<Asker*>(self);
    WaitForSingleObject(asker->go_, INFINITE);
    MessageBoxW(nullptr, L"是否确认下载一个源码", L"下载？",
                MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
    return 0;
  }
  HWND box_now() const {
    HWND found = nullptr;
    EnumThreadWindows(id_, note_box, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static BOOL CALLBACK note_box(HWND hwnd, LPARAM out) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
  }

  HANDLE go_;
  HANDLE thread_ = nullptr;
  DWORD id_ = 0;
};

class SkinLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A worker running before the library is even loaded: no thread notification ever
    // tells the library of it.
    early_asker_ = new Asker();
    ASSERT_NE(skin_library(), nullptr) << "SkinH_EL.dll or its entry point is missing";
    before_ = new TestWindow(create_test_window(20, 20, L"Before"));
    attach_result_ = attach(write_skin(kSkin));
    after_ = new TestWindow(create_test_window(480, 20, L"After"));
    pump_for(300);
    // For looking: MOYAN_SKIN_PICTURES='Z:\some\folder' saves both windows there.
    if (const char* folder = std::getenv("MOYAN_SKIN_PICTURES")) {
      const std::wstring to(folder, folder + std::strlen(folder));
      save_window_picture(before_->frame, to + L"\\before.bmp");
      save_window_picture(after_->frame, to + L"\\after.bmp");
    }
  }
  static void TearDownTestSuite() {
    for (TestWindow* w : {before_, after_}) {
      if (w != nullptr && IsWindow(w->frame)) DestroyWindow(w->frame);
      delete w;
    }
    delete early_asker_;
    drain_messages();
  }

  static inline TestWindow* before_ = nullptr;  // made before the skin was attached
  static inline TestWindow* after_ = nullptr;   // made after
  static inline int attach_result_ = 0;
  static inline Asker* early_asker_ = nullptr;  // started before the skin was attached
};

#define EXPECT_COLOUR(actual, expected, what) \
  EXPECT_EQ(describe(actual), describe(expected)) << (what)

TEST_F(SkinLibrary, AttachesAGoodBlock) {
  EXPECT_EQ(attach_result_, kAttached);
}

TEST_F(SkinLibrary, TakesWindowsMadeBeforeAndAfter) {
  for (const TestWindow* w : {before_, after_}) {
    for (HWND hwnd : {w->frame, w->edit, w->push, w->check, w->group, w->combo, w->list}) {
      EXPECT_TRUE(taken_by_skin(hwnd)) << "a window of the attaching thread was left out";
    }
  }
}

TEST_F(SkinLibrary, CaptionIsShadedFromTopToBottom) {
  for (const TestWindow* w : {before_, after_}) {
    SetForegroundWindow(w->frame);
    SetActiveWindow(w->frame);
    pump_for(200);
    const CaptionRows rows = caption_rows(w->frame);
    EXPECT_COLOUR(pixel_of(w->frame, 200, rows.top), skin(SkinColour::kCaptionTop),
                  "the active caption's top row");
    EXPECT_COLOUR(pixel_of(w->frame, 200, rows.bottom - 1), skin(SkinColour::kCaptionBottom),
                  "the active caption's bottom row");
  }
}

TEST_F(SkinLibrary, InactiveCaptionHasItsOwnColours) {
  SetForegroundWindow(after_->frame);
  SetActiveWindow(after_->frame);
  pump_for(200);
  const CaptionRows rows = caption_rows(before_->frame);
  EXPECT_COLOUR(pixel_of(before_->frame, 200, rows.top), skin(SkinColour::kInactiveCaptionTop),
                "the inactive caption's top row");
}

TEST_F(SkinLibrary, FrameHasItsEdgeAndColour) {
  const CaptionRows rows = caption_rows(after_->frame);
  ASSERT_GE(rows.border, 2) << "the frame is too thin to tell its edge from its colour";
  EXPECT_COLOUR(pixel_of(after_->frame, 0, 150), skin(SkinColour::kFrameEdge), "the frame's edge");
  EXPECT_COLOUR(pixel_of(after_->frame, 1, 150), skin(SkinColour::kFrame), "the frame");
}

// The caption's buttons are drawn where the system takes their clicks.
TEST_F(SkinLibrary, CaptionButtonsStandWhereTheirClicksGo) {
  HWND frame = after_->frame;
  RECT r;
  GetWindowRect(frame, &r);
  const CaptionRows rows = caption_rows(frame);
  const int middle = (rows.top + rows.bottom) / 2;
  int found = 0;
  for (int x = r.right - r.left - rows.border - 1; x > 200; --x) {
    const auto code = SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + middle));
    if (code != HTCLOSE && code != HTMINBUTTON && code != HTMAXBUTTON) continue;
    // Inside the button, one pixel in from where the system takes its clicks: its face.
    if (SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(r.left + x + 1, r.top + middle)) == code)
      continue;  // not the button's right edge yet
    ++found;
    EXPECT_COLOUR(pixel_of(frame, x - 1, rows.top + 3), skin(SkinColour::kCaptionButtonFace),
                  "inside caption button " + std::to_string(code));
  }
  EXPECT_EQ(found, 3) << "close, maximise and minimise";
}

TEST_F(SkinLibrary, EditBoxHasAFlatBorderThatShowsTheFocus) {
  HWND edit = after_->edit;
  SetFocus(after_->push);
  pump_for(100);
  EXPECT_COLOUR(pixel_of(edit, 0, 0), skin(SkinColour::kEditBorder), "the border without focus");
  EXPECT_COLOUR(pixel_of(edit, 4, 4), skin(SkinColour::kEditBackground), "inside the edit box");
  SetFocus(edit);
  pump_for(100);
  EXPECT_COLOUR(pixel_of(edit, 0, 0), skin(SkinColour::kEditBorderFocus), "the border with focus");
  SetFocus(after_->push);
  pump_for(100);
}

// The test skin's field is light: on the white window it is the field, in the dark panel
// the window's own colours stand.
TEST_F(SkinLibrary, EditFieldsTakeTheSkinsFieldWhereItSuitsTheirWindow) {
  SetFocus(after_->push);
  pump_for(100);
  const struct {
    const char* where;
    HWND edit;
    COLORREF field;
  } cases[] = {
      {"on a light window", after_->edit, skin(SkinColour::kEditBackground)},
      {"on a dark window", after_->edit_on_dark, GetSysColor(COLOR_WINDOW)},
  };
  for (const auto& c : cases) {
    EXPECT_COLOUR(pixel_of(c.edit, 1, 1), c.field,
                  std::string(c.where) + ": the border's inner line");
    EXPECT_COLOUR(pixel_of(c.edit, 4, 4), c.field, std::string(c.where) + ": the field");
  }
}

// The skin's dark check text would hardly show on the dark panel: a lighter shade of it
// that reads there is drawn instead.
TEST_F(SkinLibrary, TextOnAWindowItWouldNotReadOnTakesAShadeThatReads) {
  HWND check = after_->check_on_dark;
  RedrawWindow(check, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  pump_for(100);
  const RECT text = {16, 0, 60, 18};
  EXPECT_EQ(pixels_of_colour(check, text, skin(SkinColour::kCheckText)), 0)
      << "text drawn in the skin's colour, which does not read on the dark panel";
  int reading = 0;
  for (int y = text.top; y < text.bottom; ++y) {
    for (int x = text.left; x < text.right; ++x) {
      reading += contrast_ratio(rgb_of(pixel_of(check, x, y)), rgb_of(kDarkPanelColour)) >= 4.5;
    }
  }
  EXPECT_GT(reading, 10) << "no text that reads on the dark panel";
}

TEST_F(SkinLibrary, PushButtonHasTheSkinsFace) {
  SetFocus(after_->edit);
  pump_for(100);
  EXPECT_COLOUR(pixel_of(after_->push, 0, 0), skin(SkinColour::kButtonBorder), "the border");
  EXPECT_COLOUR(pixel_of(after_->push, 3, 3), skin(SkinColour::kButtonFace), "the face");
  EXPECT_GT(pixels_of_colour(after_->push, {20, 4, 70, 22}, skin(SkinColour::kButtonText)), 0)
      << "no text in the skin's button text colour";
}

// "&" marks the letter to press with Alt, as in a message box's "是(&Y)": it is not
// written, so "&Push" ends where "Push" ends, and its P is underlined.
TEST_F(SkinLibrary, ButtonTextsTakeTheirAltMarksAsTheSystemDoes) {
  HWND push = after_->push;
  auto text_span = [&] {  // the first and last columns that show text
    int left = -1, right = -1;
    for (int x = 0; x < 90; ++x) {
      if (pixels_of_colour(push, {x, 4, x + 1, 22}, skin(SkinColour::kButtonText)) == 0) continue;
      if (left < 0) left = x;
      right = x;
    }
    return std::pair{left, right};
  };
  auto lowest_text_row = [&] {  // an underline lies below the letters
    for (int y = 25; y > 0; --y) {
      if (pixels_of_colour(push, {0, y, 90, y + 1}, skin(SkinColour::kButtonText)) > 0) return y;
    }
    return 0;
  };
  SetFocus(after_->edit);
  // Marks shown, as once the keyboard has been used.
  SendMessageW(push, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
  SetWindowTextW(push, L"Push");
  pump_for(100);
  const auto plain = text_span();
  const int plain_bottom = lowest_text_row();
  SetWindowTextW(push, L"&Push");
  pump_for(100);
  const auto marked = text_span();
  const int marked_bottom = lowest_text_row();
  SetWindowTextW(push, L"Push");
  pump_for(100);
  ASSERT_GE(plain.first, 0) << "no text";
  EXPECT_NEAR(marked.second, plain.second, 1) << "\"&\" was written out";
  EXPECT_GT(marked_bottom, plain_bottom) << "the Alt letter is not underlined";
}

TEST_F(SkinLibrary, CheckBoxShowsItsMarkInTheSkinsColours) {
  HWND check = after_->check;
  const int top = (18 - 13) / 2;
  const RECT box = {0, top, 13, top + 13};
  SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
  pump_for(100);
  EXPECT_COLOUR(pixel_of(check, 0, top), skin(SkinColour::kCheckBorder), "the box's border");
  EXPECT_COLOUR(pixel_of(check, 6, top + 6), skin(SkinColour::kCheckFace), "the box's inside");
  EXPECT_EQ(pixels_of_colour(check, box, skin(SkinColour::kCheckMark)), 0) << "a mark unchecked";
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  pump_for(100);
  EXPECT_GT(pixels_of_colour(check, box, skin(SkinColour::kCheckMark)), 0) << "no mark checked";
  EXPECT_GT(pixels_of_colour(check, {16, 0, 60, 18}, skin(SkinColour::kCheckText)), 0)
      << "no text in the skin's check box text colour";
}

TEST_F(SkinLibrary, GroupBoxHasTheSkinsFrameAndCaption) {
  EXPECT_COLOUR(pixel_of(after_->group, 0, 40), skin(SkinColour::kGroupFrame), "the frame");
  EXPECT_GT(pixels_of_colour(after_->group, {8, 0, 50, 12}, skin(SkinColour::kGroupText)), 0)
      << "no caption in the skin's group text colour";
}

TEST_F(SkinLibrary, DropDownListHasTheSkinsFieldAndButton) {
  HWND combo = after_->combo;
  SetFocus(after_->edit);
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  pump_for(100);
  RECT r;
  GetWindowRect(combo, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  EXPECT_COLOUR(pixel_of(combo, 0, 0), skin(SkinColour::kComboBorder), "the border");
  EXPECT_COLOUR(pixel_of(combo, 3, height - 3), skin(SkinColour::kComboFace), "the field");
  EXPECT_COLOUR(pixel_of(combo, width - 3, 2), skin(SkinColour::kComboButtonFace), "the button");
  EXPECT_GT(pixels_of_colour(combo, {width - 16, 0, width, height}, skin(SkinColour::kComboArrow)),
            0)
      << "no arrow in the skin's colour";
}

TEST_F(SkinLibrary, ListShowsItsChosenRowAndHeaderInTheSkinsColours) {
  HWND list = after_->list;
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  pump_for(150);
  RECT row = {};
  row.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
  // The list's client area starts inside its two-pixel edge.
  const int y = 2 + (row.top + row.bottom) / 2;
  EXPECT_COLOUR(pixel_of(list, 2 + 150, y), skin(SkinColour::kSelectionBackground),
                "the chosen row");
  RECT other = {};
  other.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&other));
  EXPECT_COLOUR(pixel_of(list, 2 + 150, 2 + (other.top + other.bottom) / 2),
                static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0)),
                "a row not chosen keeps the list's own colour");
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  EXPECT_COLOUR(pixel_of(header, 3, 2), skin(SkinColour::kHeaderFace), "the header's face");
  EXPECT_COLOUR(pixel_of(list, 0, 0), skin(SkinColour::kEditBorder), "the list's border");
}

TEST_F(SkinLibrary, DialogBoxTakesTheSkinsBackground) {
  HWND dialog = create_test_dialog(20, 400);
  ASSERT_NE(dialog, nullptr);
  RECT client;
  GetClientRect(dialog, &client);
  POINT corner = {client.right - 3, client.bottom - 3};
  ClientToScreen(dialog, &corner);
  RECT r;
  GetWindowRect(dialog, &r);
  EXPECT_COLOUR(pixel_of(dialog, corner.x - r.left, corner.y - r.top),
                skin(SkinColour::kWindowBackground), "the dialog's background");
  HWND text = GetDlgItem(dialog, 1);
  EXPECT_COLOUR(pixel_of(text, 1, 1), skin(SkinColour::kWindowBackground), "behind its text");
  DestroyWindow(dialog);
  pump_for(50);
}

TEST_F(SkinLibrary, QuestionsAskedFromWorkersAreSkinned) {
  Asker late_asker;  // started after the skin was attached
  const struct {
    const char* name;
    Asker* asker;
  } cases[] = {
      {"a worker that was running before the skin was attached", early_asker_},
      {"a worker started after the skin was attached", &late_asker},
  };
  for (const auto& c : cases) {
    HWND box = c.asker->ask();
    ASSERT_NE(box, nullptr) << c.name << ": no question appeared";
    EXPECT_TRUE(taken_by_skin(box)) << c.name << ": the box was left out";
    HWND yes = GetDlgItem(box, IDYES);
    ASSERT_NE(yes, nullptr) << c.name;
    EXPECT_TRUE(taken_by_skin(yes)) << c.name << ": its button was left out";
    POINT inside = {3, 3};
    ClientToScreen(box, &inside);
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_COLOUR(pixel_of(box, inside.x - r.left, inside.y - r.top),
                  skin(SkinColour::kWindowBackground), std::string(c.name) + ": its background");
    EXPECT_COLOUR(pixel_of(yes, 0, 0), skin(SkinColour::kButtonBorder),
                  std::string(c.name) + ": its button's border");
    EXPECT_TRUE(c.asker->answer(box)) << c.name << ": the worker did not end";
  }
}

// What a menu holds, item by item, as a program sees it.
std::vector<std::wstring> items_of(HMENU menu) {
  std::vector<std::wstring> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    // The highlight is the menu's own tracking's, which leaves it on a chosen item.
    items.push_back(std::to_wstring(info.fType) + L" " + std::to_wstring(info.wID) + L" " +
                    std::to_wstring(info.fState & ~MFS_HILITE) + L" " +
                    std::to_wstring(info.dwItemData) + L" " +
                    (info.hSubMenu != nullptr ? L"sub " : L"") + text);
  }
  return items;
}

// What a look at a shown menu found, from inside the menu's own loop.
struct MenuLook {
  HMENU menu = nullptr;
  int ticks = 0;
  COLORREF background = 0, chosen_background = 0, edge = 0, own_item = 0;
  int text_pixels = 0, chosen_text_pixels = 0, grayed_text_pixels = 0;
  int arrow_pixels = 0, system_pixels = 0;
};
MenuLook* menu_look = nullptr;

RECT item_rect(HMENU menu, int position) {
  RECT r = {};
  GetMenuItemRect(nullptr, menu, position, &r);
  return r;
}

void CALLBACK look_at_menu(HWND, UINT, UINT_PTR, DWORD) {
  MenuLook& look = *menu_look;
  HWND shown = wait_for_process_window(L"#32768", 0);
  if (shown == nullptr) return;
  HWND screen = GetDesktopWindow();
  switch (look.ticks++) {
    case 0: {
      const RECT first = item_rect(look.menu, 0);
      look.background = pixel_of(screen, first.left + 2, first.top + 2);
      look.text_pixels = pixels_of_colour(screen, first, skin(SkinColour::kWindowText));
      look.grayed_text_pixels =
          pixels_of_colour(screen, item_rect(look.menu, 4), skin(SkinColour::kDisabledText));
      look.edge = pixel_of(shown, 0, 0);
      // The sub-menu's item: the skin's arrow, and nothing in the system's menu colour.
      const RECT more = item_rect(look.menu, 3);
      look.arrow_pixels =
          pixels_of_colour(screen, {more.right - 20, more.top, more.right, more.bottom},
                           skin(SkinColour::kWindowText));
      look.system_pixels = pixels_of_colour(screen, more, GetSysColor(COLOR_MENU));
      const RECT own = item_rect(look.menu, 5);
      look.own_item = pixel_of(screen, (own.left + own.right) / 2, (own.top + own.bottom) / 2);
      PostMessageW(shown, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(shown, WM_KEYDOWN, VK_DOWN, 0);
      break;
    }
    case 1: {
      const RECT second = item_rect(look.menu, 1);
      look.chosen_background = pixel_of(screen, second.left + 2, second.top + 2);
      look.chosen_text_pixels = pixels_of_colour(screen, second, skin(SkinColour::kSelectionText));
      PostMessageW(shown, WM_KEYDOWN, VK_RETURN, 0);
      break;
    }
    default:
      break;
  }
}

// A pop-up menu of a skinned window is drawn in the skin's colours while it is shown, and
// holds the same items, in the same order, with the same commands, before and after.
TEST_F(SkinLibrary, PopUpMenusShowInTheSkinsColoursAndKeepTheirItems) {
  HMENU inner = CreatePopupMenu();
  AppendMenuW(inner, MF_STRING, 201, L"Inner");
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 101, L"First");
  AppendMenuW(menu, MF_STRING, 102, L"Second\tCtrl+S");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"More");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 103, L"Grayed");
  AppendMenuW(menu, MF_OWNERDRAW, 104, reinterpret_cast<const wchar_t*>(0x77));  // the window's
  MENUITEMINFOW data = {};
  data.cbSize = sizeof(data);
  data.fMask = MIIM_DATA;
  data.dwItemData = 0x5151;  // the program's own
  SetMenuItemInfoW(menu, 0, TRUE, &data);
  const std::vector<std::wstring> before = items_of(menu);

  MenuLook look;
  look.menu = menu;
  menu_look = &look;
  RECT frame;
  GetWindowRect(after_->frame, &frame);
  // The menu closes at once when its owner loses the keyboard meanwhile (the window
  // system's focus comes and goes on its own time here): then it is shown again.
  UINT chosen = 0;
  for (int attempt = 0; attempt < 3 && look.ticks == 0; ++attempt) {
    SetForegroundWindow(after_->frame);
    pump_until([&] { return GetForegroundWindow() == after_->frame; }, 2000);
    const UINT_PTR timer = SetTimer(after_->frame, 1, 150, look_at_menu);
    chosen =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, frame.left + 40,
                                         frame.top + 60, 0, after_->frame, nullptr));
    KillTimer(after_->frame, timer);
  }
  menu_look = nullptr;

  EXPECT_EQ(chosen, 102u) << "the second item's command";
  EXPECT_EQ(items_of(menu), before) << "the menu's items changed";
  EXPECT_COLOUR(look.background, skin(SkinColour::kWindowBackground), "an item's background");
  EXPECT_GT(look.text_pixels, 0) << "no item text in the skin's text colour";
  EXPECT_GT(look.grayed_text_pixels, 0) << "no grayed text in the skin's colour for it";
  EXPECT_COLOUR(look.chosen_background, skin(SkinColour::kSelectionBackground),
                "the chosen item's background");
  EXPECT_GT(look.chosen_text_pixels, 0) << "no chosen text in the skin's selection text colour";
  EXPECT_COLOUR(look.edge, skin(SkinColour::kFrame), "the menu's edge");
  EXPECT_GT(look.arrow_pixels, 0) << "no sub-menu arrow in the skin's text colour";
  EXPECT_EQ(look.system_pixels, 0) << "the system drew over the sub-menu's item";
  EXPECT_COLOUR(look.own_item, kOwnerDrawnColour, "an item the window draws itself");
  DestroyMenu(menu);
}

// A skin attached while another program runs leaves that program's new windows alone.
TEST_F(SkinLibrary, WindowsOfOtherProcessesAreLeftAlone) {
  const std::wstring go_name = L"SkinTestGo" + std::to_wstring(GetCurrentProcessId());
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, go_name.c_str());
  std::wstring command = L"\"" + beside_this_program(L"skin_other_process.exe") + L"\" " + go_name;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION other = {};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &other));
  // Attached again while the other program's thread is alive (it waits for `go`): the
  // threads are looked at anew.
  EXPECT_EQ(attach(write_skin(kSkin)), kAttached);
  SetEvent(go);
  HWND window = wait_for_window_of(other.dwProcessId, L"SkinTestOtherProcess", 10000);
  ASSERT_NE(window, nullptr) << "the other program made no window";
  EXPECT_FALSE(taken_by_skin(window)) << "a window of another process was taken";
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(other.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(other.hProcess, &code);
  EXPECT_EQ(code, 0u) << "2: the skin library was brought into the other program; 1: it did "
                         "not end when its window closed";
  if (code == STILL_ACTIVE) TerminateProcess(other.hProcess, 1);
  CloseHandle(other.hThread);
  CloseHandle(other.hProcess);
  CloseHandle(go);
}

TEST_F(SkinLibrary, WindowsThatDrawThemselvesKeepTheirLook) {
  EXPECT_COLOUR(pixel_of(after_->own_picture, 10, 10), kOwnPictureColour,
                "a window of its own class");
  EXPECT_COLOUR(pixel_of(after_->owner_drawn, 10, 10), kOwnerDrawnColour, "an owner-drawn button");
}

TEST_F(SkinLibrary, PressingTheMinimiseButtonMinimises) {
  HWND frame = after_->frame;
  RECT r;
  GetWindowRect(frame, &r);
  const CaptionRows rows = caption_rows(frame);
  const int y = (rows.top + rows.bottom) / 2;
  int x = r.right - r.left - 1;
  while (x > 0 &&
         SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)) != HTMINBUTTON) {
    --x;
  }
  ASSERT_GT(x, 0) << "no minimise button";
  POINT at = {r.left + x - 3, r.top + y};
  POINT client = at;
  ScreenToClient(frame, &client);
  // Let go away from the button first: nothing happens.
  PostMessageW(frame, WM_NCLBUTTONDOWN, HTMINBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(frame, WM_LBUTTONUP, 0, MAKELPARAM(client.x - 200, client.y + 100));
  pump_for(200);
  EXPECT_FALSE(IsIconic(frame)) << "let go away from the button, yet minimised";
  PostMessageW(frame, WM_NCLBUTTONDOWN, HTMINBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(frame, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  pump_for(200);
  EXPECT_TRUE(IsIconic(frame)) << "let go over the minimise button, not minimised";
  ShowWindow(frame, SW_RESTORE);
  pump_for(200);
}

TEST_F(SkinLibrary, ARefusedBlockLeavesTheSkin) {
  std::string damaged = write_skin(kSecondSkin);
  damaged.back() ^= 1;
  EXPECT_EQ(attach(damaged), kRefused);
  EXPECT_EQ(attach(std::string()), kNothingToAttach);
  RedrawWindow(after_->frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  pump_for(100);
  EXPECT_COLOUR(pixel_of(after_->edit, 0, 0), skin(SkinColour::kEditBorder),
                "after a refused block and empty data");
}

// Runs last: it changes the skin for the rest of the process.
TEST_F(SkinLibrary, ZAnotherSkinReplacesTheFirst) {
  SetFocus(after_->push);
  Asker worker;  // its question stays on the screen while the skin changes
  HWND box = worker.ask();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(attach(write_skin(kSecondSkin)), kAttached);
  pump_for(200);
  // The worker's own thread repaints its box, in its own time.
  POINT inside = {3, 3};
  ClientToScreen(box, &inside);
  const COLORREF second_background = colour_of(kSecondSkin, SkinColour::kWindowBackground);
  EXPECT_TRUE(pump_until(
      [&] { return pixel_of(GetDesktopWindow(), inside.x, inside.y) == second_background; }, 3000))
      << "a worker's question kept the first skin";
  EXPECT_TRUE(worker.answer(box));
  EXPECT_COLOUR(pixel_of(after_->edit, 0, 0), colour_of(kSecondSkin, SkinColour::kEditBorder),
                "the edit box's border after the second skin");
  EXPECT_COLOUR(pixel_of(before_->group, 0, 40), colour_of(kSecondSkin, SkinColour::kGroupFrame),
                "the group box's frame after the second skin");
}

}  // namespace
