// The program as it ships, but for what tests set in the environment (the shipped program
// reads no settings; this build is for tests):
// - MOYAN_TEST_ANNOUNCEMENT_URL: the announcement is read from that address (the stand-in
//   web's) in place of announcement_page_url;
// - MOYAN_TEST_WEB_HOST ("127.0.0.1:port"): the web search and the delivery talk to the
//   stand-in web there, as search engine and source site;
// - MOYAN_TEST_REFUSE_MAIN_WINDOW: the system refuses to make MainWindow, as when it has no
//   room for another window, and the start-up's failure path runs.
#include <windows.h>

#include <cwchar>
#include <string>

#include "app/program_entry.h"
#include "app/web_parts.h"
#include "net/http_request.h"
#include "win32/code_page.h"

namespace {

std::string environment_value(const wchar_t* name) {
  wchar_t value[2048] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, 2048);
  return n > 0 && n < 2048 ? win32::narrow(value) : std::string();
}

LRESULT CALLBACK refuse_main_window(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const wchar_t* window_class = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(window_class) && std::wcscmp(window_class, L"MoyanMainWindow") == 0) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  WindowPlatform platform = default_platform();
  if (std::string page = environment_value(L"MOYAN_TEST_ANNOUNCEMENT_URL"); !page.empty()) {
    platform.read_announcement_page = [page] { return http_request(page); };
  }
  if (std::string host = environment_value(L"MOYAN_TEST_WEB_HOST"); !host.empty()) {
    use_program_web_sites({"http://" + host + "/", host, "http://" + host + "/"});
  }
  if (!environment_value(L"MOYAN_TEST_REFUSE_MAIN_WINDOW").empty()) {
    SetWindowsHookExW(WH_CBT, refuse_main_window, nullptr, GetCurrentThreadId());
  }
  return run_program(std::move(platform));
}
