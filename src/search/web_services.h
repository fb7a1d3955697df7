#ifndef MOYAN_SEARCH_WEB_SERVICES_H_
#define MOYAN_SEARCH_WEB_SERVICES_H_

#include "search/program_folder.h"
#include "search/search_sites.h"
#include "search/web_fetcher.h"

// What the web search and the delivery of entries need of the world outside the portable
// code. The fetcher and the folder outlive every worker that uses them (the program keeps
// them for its whole run).
struct WebServices {
  SearchSites sites;
  WebFetcher* fetcher = nullptr;
  ProgramFolder* folder = nullptr;
};

#endif  // MOYAN_SEARCH_WEB_SERVICES_H_
