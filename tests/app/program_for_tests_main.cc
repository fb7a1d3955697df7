// The program as it ships, but for one thing: when MOYAN_TEST_ANNOUNCEMENT_URL is set, the
// announcement is read from that address (the stand-in web's) in place of
// announcement_page_url. The shipped program reads no settings; this build is for tests.
#include <windows.h>

#include <string>

#include "app/program_entry.h"
#include "net/http_request.h"
#include "win32/code_page.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  WindowPlatform platform = default_platform();
  wchar_t address[2048] = {};
  const DWORD n = GetEnvironmentVariableW(L"MOYAN_TEST_ANNOUNCEMENT_URL", address, 2048);
  if (n > 0 && n < 2048) {
    platform.read_announcement_page = [page = win32::narrow(address)] {
      return http_request(page);
    };
  }
  return run_program(std::move(platform));
}
