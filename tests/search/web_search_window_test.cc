// The web search and delivery in the real window under Wine, against the stand-in web: a
// search fills the list and the library, a double-click downloads, stores and writes the
// package, and a second double-click writes it again without the network; the window
// answers throughout a search against a server that never answers.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "app/main_window_port.h"
#include "app/web_parts.h"
#include "net/net_limits.h"
#include "scratch_folder.h"
#include "search/delivery.h"
#include "search/run_search.h"
#include "search/web_search.h"
#include "standin_client.h"
#include "store/source_record.h"
#include "store/store.h"
#include "win32/code_page.h"
#include "window_driver.h"

namespace {

constexpr int kWaitMs = 15000;

// The real port, except that Explorer is recorded instead of started (a live Explorer
// would outlast the test).
class RecordingPort : public MainWindowPort {
 public:
  using MainWindowPort::MainWindowPort;
  bool start_process(const std::string& command_line, int) override {
    std::lock_guard<std::mutex> hold(mutex_);
    started_.push_back(command_line);
    return true;
  }
  std::vector<std::string> started() {
    std::lock_guard<std::mutex> hold(mutex_);
    return started_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> started_;
};

// A web that is gone: counts what is asked of it.
class NoNetwork : public WebFetcher {
 public:
  ByteSet fetch(const std::string&) override {
    ++asked;
    return ByteSet();
  }
  std::atomic<int> asked{0};
};

std::string read_whole_file(const std::wstring& path) {
  win32::OwnedHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "(missing)";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

class WebSearchWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const int port = standin::port();
    ASSERT_NE(port, 0) << "no stand-in web";
    const std::string host = "127.0.0.1:" + std::to_string(port);
    ASSERT_TRUE(scratch_.library_made().is_ok()) << scratch_.library_made().text();
    folder_ = &scratch_.folder();
    services_ = {{"http://" + host + "/", host, "http://" + host + "/"}, &fetcher_, folder_};
    web_ = std::make_unique<WebSearch>(services_, "墨砚工坊V1.0");

    ExternalHandlers handlers;
    handlers.open_selected_entry = [this](WindowPort& w) { open_selected_entry(w, services_); };
    library_.store_path = folder_->library_path();
    handlers.run_search = [this](WindowPort& w) {
      run_search(w, library_,
                 [this](const std::string& keyword) { web_->start_web_search(*port_, keyword); });
    };
    window_ = MainWindow::create(WindowPlatform());
    ASSERT_TRUE(window_);
    port_ = std::make_unique<RecordingPort>(*window_);
    window_->start(*port_, handlers);
    pump_for(50);
  }

  void TearDown() override {
    window_.reset();
    port_.reset();
    drain_messages();
    store_close_all();
  }

  // Selects a row and double-clicks it, as the user does.
  void double_click_row(int row) {
    HWND list = window_->control(Control::超级列表框1);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    RECT r = {};
    r.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 8, (r.top + r.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
  }

  WinHttpFetcher fetcher_;
  ScratchFolder scratch_{L"moyan_web_search_"};
  DiskFolder* folder_ = nullptr;
  WebServices services_;
  std::unique_ptr<WebSearch> web_;
  LibraryContext library_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<RecordingPort> port_;
};

// Answers the two questions of a download with Yes, reading what they ask.
struct User {
  std::vector<std::wstring> captions, texts;
  void answer(int boxes) {
    for (int i = 0; i < boxes; ++i) {
      HWND box = wait_for_process_window(L"#32770", kWaitMs);
      if (box == nullptr) return;
      captions.push_back(window_text_of(box));
      texts.push_back(window_text_of(GetDlgItem(box, 0xFFFF)));
      SendMessageW(box, WM_COMMAND, IDYES, 0);
      for (int w = 0; w < 100 && IsWindow(box); ++w) Sleep(20);
    }
  }
};

TEST_F(WebSearchWindowTest, SearchThenDownloadThenDeliverAgainWithoutTheNetwork) {
  // The search button with 网络搜索 ticked, as the user presses it.
  port_->set_current_page(kSearchPage);
  port_->set_control_text(Control::编辑框1, "　模块 ");
  port_->set_checked(Control::选择框1, false);
  port_->set_checked(Control::选择框2, true);
  click(window_->control(Control::图形按钮1));
  ASSERT_TRUE(pump_until([&] { return web_->progress().totals().pages_found > 0; }, kWaitMs))
      << "the search button started no web search";
  EXPECT_EQ(port_->current_page(), kLibraryPage) << "the list is shown";
  ASSERT_TRUE(pump_until([&] { return web_->progress().wait_until_idle(0); }, kWaitMs))
      << "the search did not end";
  const std::vector<std::vector<std::string>> rows = {
      {"1", "超级列表框增强模块", "128 KB", "★★★★", "2012-03-15"},
      {"2", "网络封包拦截模块源码", "56 KB", "★★★", "2011-11-02"},
      {"3", "Excel数据库操作类模块", "88 KB", "★★", "2012-01-09"}};
  ASSERT_EQ(port_->row_count(), 3) << "rows listed";
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 5; ++c) EXPECT_EQ(port_->cell_text(r, c), rows[r][c]) << r << "," << c;
  }
  const std::string detail = services_.sites.source_site_base_url + "soft/101.html";
  EXPECT_EQ(port_->cell_text(0, 5), detail);
  EXPECT_EQ(window_text_of(window_->hwnd()),
            L"墨砚工坊V1.0 - 网络搜索完成：1/1页，新增3条，已有0条")
      << "the caption tells the search has ended";
  ASSERT_TRUE(store_open(folder_->library_path()));
  EXPECT_EQ(record_count(), 3) << "entries stored";
  go_first();
  EXPECT_TRUE(find_record([&] { return read_field(kFieldAddress).text() == detail; }));
  store_close();

  // Double-click: two questions answered Yes, the package downloaded, kept and written.
  User user;
  std::thread answering([&] { user.answer(2); });
  double_click_row(0);
  const bool shown = pump_until([&] { return port_->started().size() == 1; }, kWaitMs);
  answering.join();
  ASSERT_TRUE(shown) << "Explorer was not asked to show the package";
  EXPECT_EQ(user.captions, (std::vector<std::wstring>{L"下载？", L"打开？"}));
  EXPECT_EQ(user.texts,
            (std::vector<std::wstring>{L"是否确认下载超级列表框增强模块",
                                       L"超级列表框增强模块下载已完成,确定是否要打开？"}));
  const std::string package = standin::plain_get(standin::port(), "/files/101.rar").body;
  ASSERT_FALSE(package.empty());
  const std::wstring file = scratch_.path() + L"\\超级列表框增强模块.rar";
  EXPECT_EQ(read_whole_file(file), package) << "the package file";
  EXPECT_EQ(port_->started()[0], "Explorer /select, " + win32::narrow(file));
  ASSERT_TRUE(store_open(folder_->library_path()));
  go_first();
  ASSERT_TRUE(find_record([&] { return read_field(kFieldTitle).text() == "超级列表框增强模块"; }));
  EXPECT_EQ(read_field(kFieldAttachment).bytes().str(), package) << "the package kept in 附件";
  store_close();

  // Again, with the web gone: written at once from the library, no question asked.
  NoNetwork gone;
  services_.fetcher = &gone;
  DeleteFileW(file.c_str());
  double_click_row(0);
  ASSERT_TRUE(pump_until([&] { return port_->started().size() == 2; }, kWaitMs));
  EXPECT_EQ(wait_for_process_window(L"#32770", 0), nullptr) << "a question was asked";
  EXPECT_EQ(gone.asked.load(), 0) << "the network was used";
  EXPECT_EQ(read_whole_file(file), package);
}

double now_ms() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// When the window's thread took the latest probe sent to its window: a hook on that thread
// sees each sent message as its window procedure is called.
const UINT kProbe = RegisterWindowMessageW(L"moyan web search probe");
std::atomic<double> probe_taken_at{0};
LRESULT CALLBACK note_probe(int code, WPARAM wparam, LPARAM lparam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && sent->message == kProbe) probe_taken_at = now_ms();
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(WebSearchWindowTest, TheWindowAnswersThroughoutASearchAgainstASilentServer) {
  // Every request of this search meets a server that reads it and never answers; each
  // download gives up after 1.5 s, so the search (its first page, then its one result
  // page) ends after some 3 s.
  NetLimits limits = shipped_net_limits();
  limits.download_call_ms = 1500;
  set_net_limits_for_testing(limits);
  WebServices silent = services_;
  silent.sites.search_engine_base_url = standin::url("/fault/silent/");
  web_ = std::make_unique<WebSearch>(silent, "墨砚工坊V1.0");
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, note_probe, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);

  // Another thread sends the window a message every few milliseconds: how long until the
  // window's thread takes it.
  HWND hwnd = window_->hwnd();
  std::atomic<bool> asking{true};
  std::atomic<bool> pressed{false};  // only what is asked from the press on counts
  std::atomic<int> answered{0};
  std::atomic<bool> asker_done{false};
  double longest = 0;
  // How late a thread that only sleeps wakes meanwhile: what the machine itself costs any
  // thread, the window's thread too.
  double latest_wake = 0;
  std::thread sleeper([&] {
    while (asking) {
      const double before = now_ms();
      Sleep(5);
      if (pressed) latest_wake = std::max(latest_wake, now_ms() - before - 5);
    }
  });
  std::thread asker([&] {
    while (asking) {
      const bool counting = pressed;
      const double sent = now_ms();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(hwnd, kProbe, 0, 0, SMTO_NORMAL, 10000, &result);
      if (counting) longest = std::max(longest, probe_taken_at - sent);
      ++answered;
      Sleep(5);
    }
    asker_done = true;
  });
  pump_until([&] { return answered > 5; }, kWaitMs);

  port_->set_current_page(kSearchPage);
  port_->set_control_text(Control::编辑框1, "模块");
  port_->set_checked(Control::选择框2, true);
  const double clicked = now_ms();
  const int answered_before = answered;
  pressed = true;
  click(window_->control(Control::图形按钮1));
  const bool started =
      pump_until([&] { return web_->progress().totals().searches_running > 0; }, kWaitMs);
  const bool ended =
      started && pump_until([&] { return web_->progress().wait_until_idle(0); }, kWaitMs);
  const double took = now_ms() - clicked;
  const int during = answered - answered_before;
  asking = false;
  pump_until([&] { return asker_done.load(); }, kWaitMs);  // its last message answered too
  asker.join();
  sleeper.join();
  UnhookWindowsHookEx(hook);
  set_net_limits_for_testing(shipped_net_limits());

  ASSERT_TRUE(ended) << "the search did not end";
  EXPECT_GT(took, 2500) << "the search did not wait on the silent server";
  EXPECT_GT(during, 20) << "too few messages sent to judge";
  // A wait on the web would hold the window for a whole download's 1.5 s. Its own work
  // (the press starting the search, the caption) takes far less, though over a tenth of a
  // second when the emulated 32-bit program shares the machine with other tests.
  EXPECT_LT(longest, 400 + latest_wake)
      << "the window kept another thread waiting " << longest << " ms (a sleeping thread woke "
      << latest_wake << " ms late meanwhile)";
  EXPECT_EQ(port_->row_count(), 0);
}

// Saves the window in the middle of a harvest as a picture when MOYAN_DEMO_PICTURE names a
// BMP file (the offline demo's picture): the first rows listed and the caption telling how
// far the search is.
TEST_F(WebSearchWindowTest, HarvestInProgressPicture) {
  wchar_t picture[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"MOYAN_DEMO_PICTURE", picture, MAX_PATH) == 0) GTEST_SKIP();
  standin::set_fault("*", "delay", "ms=40");  // slow enough to catch the harvest under way
  port_->set_current_page(kLibraryPage);
  web_->start_web_search(*port_, "批量");
  pump_until([&] { return port_->row_count() >= 60; }, kWaitMs);
  EXPECT_TRUE(save_window_picture(window_->hwnd(), picture));
  standin::set_fault("*", "none");
  EXPECT_TRUE(pump_until([&] { return web_->progress().wait_until_idle(0); }, kWaitMs));
}

}  // namespace
