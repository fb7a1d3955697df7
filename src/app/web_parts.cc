#include "app/web_parts.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "app/app_config.h"
#include "app/layout.h"
#include "app/process_values.h"
#include "app/program_directory.h"
#include "net/fetch_binary.h"
#include "library/file_names.h"
#include "win32/code_page.h"
#include "win32/owned_handle.h"

namespace {

constexpr char kLibraryFileName[] = "Code.edb";
// WriteFile takes at most a DWORD at once; whole megabytes keep every call small.
constexpr size_t kWriteChunk = 1 << 20;

}  // namespace

ByteSet WinHttpFetcher::fetch(const std::string& address) {
  WebAnswer answer = fetch_answer(address);
  if (!answer.succeeded()) return ByteSet();
  return std::move(answer.body);
}

std::string DiskFolder::library_path() {
  return file_path(kLibraryFileName);
}

std::string DiskFolder::file_path(const std::string& name) {
  return directory_ + "\\" + name;
}

bool DiskFolder::takes_file_name(const std::string& name) {
  return fits_in_folder(name, win32::widen(directory_).size());
}

bool DiskFolder::write_file(const std::string& name, const ByteSet& bytes) {
  if (!takes_file_name(name)) return false;
  // The check again as Windows will read the name: no separator or drive may appear.
  const std::wstring wide_name = win32::widen(name);
  if (wide_name.find_first_of(L"\\/:") != std::wstring::npos) return false;
  const std::wstring path = win32::widen(directory_) + L"\\" + wide_name;
  win32::OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  for (size_t done = 0; done < bytes.size();) {
    const DWORD part = static_cast<DWORD>(std::min(kWriteChunk, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data() + done, part, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

namespace {

// The sites other than the configured ones that the program's web parts are to use.
std::optional<SearchSites>& sites_in_place() {
  static std::optional<SearchSites> sites;
  return sites;
}

}  // namespace

void use_program_web_sites(const SearchSites& sites) {
  sites_in_place() = sites;
}

// Made once and never destroyed: detached workers may use them while the program ends.
const WebServices& program_web_services() {
  static const WebServices* services = [] {
    auto* made = new WebServices;
    made->sites = sites_in_place().value_or(
        SearchSites{search_engine_base_url, source_site_host, source_site_base_url});
    made->fetcher = new WinHttpFetcher;
    made->folder = new DiskFolder(win32::narrow(program_directory()));
    return made;
  }();
  return *services;
}

WebSearch& program_web_search() {
  static WebSearch* search = new WebSearch(program_web_services(), kMainWindowTitle);
  return *search;
}

void start_program_web_search(WindowPort& window, const std::string& keyword) {
  WebSearch& search = program_web_search();
  search.start_web_search(window, keyword);
  search_page_base.set(search.search_page_base());
}

WebSearchStarter program_web_search_starter(WindowPort& window) {
  return [&window](const std::string& keyword) { start_program_web_search(window, keyword); };
}
