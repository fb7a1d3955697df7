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

#include "skin_test_window.h"
#include "window_driver.h"

namespace {

const SkinData kSkin = distinct_skin(0);
const SkinData kSecondSkin = distinct_skin(3);

COLORREF skin(SkinColour role) {
  return colour_of(kSkin, role);
}

class SkinLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
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
    drain_messages();
  }

  static inline TestWindow* before_ = nullptr;  // made before the skin was attached
  static inline TestWindow* after_ = nullptr;   // made after
  static inline int attach_result_ = 0;
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

TEST_F(SkinLibrary, PushButtonHasTheSkinsFace) {
  SetFocus(after_->edit);
  pump_for(100);
  EXPECT_COLOUR(pixel_of(after_->push, 0, 0), skin(SkinColour::kButtonBorder), "the border");
  EXPECT_COLOUR(pixel_of(after_->push, 3, 3), skin(SkinColour::kButtonFace), "the face");
  EXPECT_GT(pixels_of_colour(after_->push, {20, 4, 70, 22}, skin(SkinColour::kButtonText)), 0)
      << "no text in the skin's button text colour";
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
  EXPECT_EQ(attach(write_skin(kSecondSkin)), kAttached);
  pump_for(200);
  EXPECT_COLOUR(pixel_of(after_->edit, 0, 0), colour_of(kSecondSkin, SkinColour::kEditBorder),
                "the edit box's border after the second skin");
  EXPECT_COLOUR(pixel_of(before_->group, 0, 40), colour_of(kSecondSkin, SkinColour::kGroupFrame),
                "the group box's frame after the second skin");
}

}  // namespace
