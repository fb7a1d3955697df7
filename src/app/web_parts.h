#ifndef MOYAN_APP_WEB_PARTS_H_
#define MOYAN_APP_WEB_PARTS_H_

#include <functional>
#include <string>

#include "search/program_folder.h"
#include "search/web_fetcher.h"
#include "search/web_search.h"
#include "search/web_services.h"

// What the web search and the delivery of entries get from Windows: downloads through the
// system's WinHttp service, and the program's own folder.

class WinHttpFetcher final : public WebFetcher {
 public:
  // A download bounded in time, size and redirects; the body of a success only: an error
  // page (any status but 2xx) is nothing, so it is never taken for a page or a package.
  ByteSet fetch(const std::string& address) override;
};

// A folder on disk; the program's is the folder of its executable file.
class DiskFolder final : public ProgramFolder {
 public:
  // `directory`: a full path without a trailing backslash (GBK).
  explicit DiskFolder(std::string directory) : directory_(std::move(directory)) {}
  std::string library_path() override;
  std::string file_path(const std::string& name) override;
  bool takes_file_name(const std::string& name) override;
  // Replaces the file; a name the folder doesn't take, or that turns into a path once
  // converted for Windows, writes nothing.
  bool write_file(const std::string& name, const ByteSet& bytes) override;

 private:
  const std::string directory_;
};

// The program's own web search and services, made from its configuration on first use and
// kept for the whole run (workers may still use them while the program ends).
const WebServices& program_web_services();
// Points the program's web search and delivery at other sites than the configured ones;
// only before their first use (a test build of the program points them at the stand-in).
void use_program_web_sites(const SearchSites& sites);
WebSearch& program_web_search();

// `start_web_search` as the search button's web branch calls it (on the window's thread):
// the program's web search, which also sets the process-wide `search_page_base`.
void start_program_web_search(WindowPort& window, const std::string& keyword);

// The same as a call of the keyword alone, for the search button's handler: the program's
// web search into `window`, which stays for the program's whole run.
using WebSearchStarter = std::function<void(const std::string& keyword)>;
WebSearchStarter program_web_search_starter(WindowPort& window);

#endif  // MOYAN_APP_WEB_PARTS_H_
