// Under Wine: what MainWindow's created event does besides the skin — the announcement
// read on a worker into 编辑框6 (from the stand-in web), the rounded outline and the
// background colour — and that the window never waits for the announcement.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "app/app_config.h"
#include "app/window_shape.h"
#include "net/http_request.h"
#include "standin_client.h"
#include "window_driver.h"
#include "window_fixture.h"

namespace {

class Announcement : public WindowTest {
 protected:
  // Opens the window with the announcement read from `address`, and waits for it to be
  // read; gives 编辑框6's text once the window has taken it.
  std::string announced_from(const std::string& address) {
    auto read = std::make_shared<std::atomic<bool>>(false);
    read_announcement_ = [address, read] {
      std::string page = http_request(address);
      *read = true;
      return page;
    };
    return open_and_wait(read);
  }
  std::string announced_in(const std::string& page) {
    auto read = std::make_shared<std::atomic<bool>>(false);
    read_announcement_ = [page, read] {
      *read = true;
      return page;
    };
    return open_and_wait(read);
  }
  std::string open_and_wait(const std::shared_ptr<std::atomic<bool>>& read) {
    window_.reset();
    drain_messages();
    open();
    EXPECT_TRUE(pump_until([&] { return read->load(); }, 60000)) << "the page was never read";
    pump_for(200);  // the worker's text reaches the window's thread
    return port().control_text(Control::编辑框6);
  }
};

TEST_F(Announcement, TakesTheTextBetweenTheMarkersFromTheWeb) {
  ASSERT_NE(standin::port(), 0) << "the stand-in web is not running";
  const struct {
    const char* name;
    std::string address;
    const char* announced;
  } cases[] = {
      {"markers once", standin::url("/notice.html"), "10001"},
      {"an error page", standin::url("/no-such-notice.html"), ""},
      {"no server", "http://127.0.0.1:" + std::to_string(standin::unused_port()) + "/notice.html",
       ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(announced_from(c.address), c.announced) << c.name;
  }
}

// Which text a page announces is the host's test; here 编辑框6 keeps it as it stands.
TEST_F(Announcement, TextGoesInAsItStands) {
  EXPECT_EQ(announced_in("<p>公告首｛ <b>12 34</b>\r\n2\n ｝公告尾</p>"), " <b>12 34</b>\r\n2\n ");
}

TEST_F(Announcement, ContactPictureOpensTheAnnouncedContact) {
  ASSERT_NE(standin::port(), 0) << "the stand-in web is not running";
  ASSERT_EQ(announced_from(standin::url("/notice.html")), "10001");
  click(control(Control::图形按钮9));
  ASSERT_EQ(urls_.size(), 1u);
  EXPECT_EQ(urls_[0], std::string(contact_link_prefix) + "10001" + contact_link_suffix);
}

// The window comes up at once while the announcement's server keeps it waiting, and 编辑框6
// gets the text when it comes.
TEST_F(Announcement, WindowNeverWaitsForTheAnnouncement) {
  HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  auto read = std::make_shared<std::atomic<bool>>(false);
  read_announcement_ = [answer, read] {
    WaitForSingleObject(answer, 30000);
    *read = true;
    return std::string("公告首｛777｝公告尾");
  };
  const ULONGLONG start = GetTickCount64();
  open();
  const ULONGLONG opened = GetTickCount64() - start;
  // A start that waited would take the reader's 30 s; the shipped 32-bit program under an
  // emulated Wine takes some seconds to open a window without waiting.
  EXPECT_LT(opened, 15000u) << "start-up waited for the announcement";
  EXPECT_TRUE(IsWindowVisible(window_->hwnd())) << "the window is not shown";
  EXPECT_EQ(port().control_text(Control::编辑框6), "") << "an announcement before any came";
  // The window answers meanwhile.
  show_page(kSearchPage);
  EXPECT_EQ(window_->current_page(), kSearchPage);
  SetEvent(answer);
  EXPECT_TRUE(pump_until([&] { return port().control_text(Control::编辑框6) == "777"; }, 10000))
      << "the announcement never reached 编辑框6";
  CloseHandle(answer);
}

// A window gone before its announcement comes takes nothing with it.
TEST_F(Announcement, AnnouncementAfterTheWindowHasGoneIsDropped) {
  HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  auto read = std::make_shared<std::atomic<bool>>(false);
  read_announcement_ = [answer, read] {
    WaitForSingleObject(answer, 30000);
    *read = true;
    return std::string("公告首｛1｝公告尾");
  };
  open();
  window_.reset();
  drain_messages();  // the closed window's request to quit would end the pumping at once
  SetEvent(answer);
  EXPECT_TRUE(pump_until([&] { return read->load(); }, 10000));
  pump_for(200);
  CloseHandle(answer);
}

// ---- The outline and the colour ------------------------------------------------------

TEST_F(Announcement, WindowHasItsRoundedTopLeftCornerAndKeepsItsSize) {
  open();
  HWND hwnd = window_->hwnd();
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 645) << "width after the outline was set";
  EXPECT_EQ(r.bottom - r.top, 541) << "height after the outline was set";
  HRGN outline = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, outline), ERROR) << "the window has no outline";
  // The shape picture's transparent pixels at the start of rows 0 to 5.
  const int corner[] = {6, 4, 3, 2, 1, 1};
  for (int row = 0; row < 6; ++row) {
    for (int x = 0; x < corner[row]; ++x) {
      EXPECT_FALSE(PtInRegion(outline, x, row)) << "(" << x << ", " << row << ") is inside";
    }
    EXPECT_TRUE(PtInRegion(outline, corner[row], row))
        << "(" << corner[row] << ", " << row << ") is outside";
  }
  // The picture's other corners lie beyond the window: its own corners stay square.
  for (POINT p : {POINT{644, 0}, POINT{0, 540}, POINT{644, 540}, POINT{0, 6}, POINT{320, 270}}) {
    EXPECT_TRUE(PtInRegion(outline, p.x, p.y)) << "(" << p.x << ", " << p.y << ") is outside";
  }
  DeleteObject(outline);
}

// Empty picture bytes (unpacking gave nothing) and bytes that are no picture leave the
// window without an outline and at its size.
TEST_F(Announcement, NoPictureLeavesTheWindowAsItIs) {
  HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 10, 10, 120, 80, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(plain, nullptr);
  const struct {
    const char* name;
    ByteSet picture;
  } cases[] = {
      {"empty bytes", ByteSet()},
      {"not a picture", ByteSet("BM not a bitmap", 15)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(set_window_shape(plain, c.picture, RGB(255, 0, 255))) << c.name;
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(plain, outline), ERROR) << c.name << ": the window got an outline";
    DeleteObject(outline);
    RECT r;
    GetWindowRect(plain, &r);
    EXPECT_EQ(r.right - r.left, 120) << c.name << ": width";
    EXPECT_EQ(r.bottom - r.top, 80) << c.name << ": height";
  }
  DestroyWindow(plain);
}

TEST_F(Announcement, BackgroundIsTheWindowBlue) {
  open();
  pump_for(200);
  // Left of the first category button, above the pages: the window's own background.
  POINT p = {2, 30};
  ClientToScreen(window_->hwnd(), &p);
  HDC screen = GetDC(nullptr);
  const COLORREF shown = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(shown, RGB(77, 166, 222))
      << "background RGB(" << int(GetRValue(shown)) << ", " << int(GetGValue(shown)) << ", "
      << int(GetBValue(shown)) << ")";
}

// The skin is attached before the window first shows.
HWND shown_window = nullptr;
bool skinned_when_shown = false;
LRESULT CALLBACK watch_show(int code, WPARAM wparam, LPARAM lparam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam &&
      shown_window == nullptr) {
    wchar_t name[64] = {};
    GetClassNameW(message->hwnd, name, 64);
    if (std::wstring(name) == L"MoyanMainWindow") {
      shown_window = message->hwnd;
      skinned_when_shown = GetPropW(message->hwnd, L"SkinH_EL.taken") != nullptr;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(Announcement, SkinIsAttachedBeforeTheWindowFirstShows) {
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, watch_show, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  open();
  UnhookWindowsHookEx(hook);
  ASSERT_EQ(shown_window, window_->hwnd()) << "the window's first showing was not seen";
  EXPECT_TRUE(skinned_when_shown) << "the window showed before it was skinned";
}

}  // namespace
