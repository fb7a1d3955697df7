#include "app/shell_actions.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "ui/dialogs.h"
#include "win32/code_page.h"
#include "win32/com_apartment.h"

int show_message_box(const std::string& text, unsigned flags, const std::string& caption) {
  if ((flags & kBoxSystemModal) == 0) flags |= MB_TASKMODAL;
  std::wstring wide_caption =
      win32::widen(caption.empty() ? std::string(kDefaultBoxCaption) : caption);
  int id = MessageBoxW(nullptr, win32::widen(text).c_str(), wide_caption.c_str(), flags);
  return id - 1;
}

void shell_open_url(const std::string& address) {
  HWND owner = FindWindowW(nullptr, L"Microsoft Internet Explorer");
  ShellExecuteW(owner, L"open", win32::widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool shell_start_process(const std::string& command_line, int wait_ms) {
  std::wstring command = win32::widen(command_line);
  if (command.empty()) return false;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  WaitForInputIdle(process.hProcess, static_cast<DWORD>(wait_ms < 0 ? 0 : wait_ms));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

ChosenPath choose_open_file(HWND owner, const std::string& filter) {
  // "A|B|" becomes "A\0B\0\0", the form the dialog reads.
  std::wstring wide_filter = win32::widen(filter);
  for (wchar_t& c : wide_filter) {
    if (c == L'|') c = L'\0';
  }
  wide_filter.append(2, L'\0');
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = wide_filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return {};
  // Without OFN_NOCHANGEDIR the chosen file's folder becomes the current one, and the
  // entry form reads the file by its bare name from there. Some systems leave it unchanged
  // when a whole path is typed into the name box: make it so here as well.
  if (ofn.nFileOffset > 0 && ofn.nFileOffset < file.size()) {
    const std::wstring folder(file.data(), ofn.nFileOffset);
    SetCurrentDirectoryW(folder.c_str());
  }
  return {win32::narrow(file.data()), win32::narrow_utf8(file.data())};
}

ChosenPath choose_folder(HWND owner, const std::string& title) {
  win32::ComApartment com;  // the folder browser is a COM dialog
  std::wstring wide_title = win32::widen(title);
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.lpszTitle = wide_title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  ChosenPath folder;
  if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path))
      folder = {win32::narrow(path), win32::narrow_utf8(path)};
    CoTaskMemFree(chosen);
  }
  return folder;
}

void drag_by_caption(HWND window) {
  ReleaseCapture();
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
