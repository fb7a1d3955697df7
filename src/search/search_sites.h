#ifndef MOYAN_SEARCH_SEARCH_SITES_H_
#define MOYAN_SEARCH_SEARCH_SITES_H_

#include <string>

// The two outside places a web search talks to. The program takes them from its
// configuration; tests and the offline demo point them at the stand-in web.
struct SearchSites {
  // The web search engine: "http://" ... "/"; the query path is appended to it.
  std::string search_engine_base_url;
  // The source site's host, which the query's site filter names.
  std::string source_site_host;
  // "http://" + the host + "/": every address on the source site is this and a path.
  std::string source_site_base_url;
};

#endif  // MOYAN_SEARCH_SEARCH_SITES_H_
