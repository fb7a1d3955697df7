#ifndef MOYAN_TESTS_SEARCH_FAKE_SITE_H_
#define MOYAN_TESTS_SEARCH_FAKE_SITE_H_

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "search/search_sites.h"
#include "search/web_fetcher.h"

// The search engine and the source site in memory, in GBK with the markers the program
// cuts, for host tests: result pages of 100 hits for a keyword (the page at offset pn shows
// the matches from pn - 100 on, so page 1 shows the first), detail pages, download pages
// and packages. It records every address asked for, counts requests in flight, and can
// hold requests back.
class FakeSite : public WebFetcher {
 public:
  struct Entry {
    int id;
    std::string title;
    std::optional<std::string> rating;  // nothing: no rating row; "": the row, empty
    std::string size;
    std::string update_time;
  };

  static SearchSites sites();  // http://engine.test/ and http://source.test/

  FakeSite();
  ByteSet fetch(const std::string& address) override;

  // Entries are found by a keyword they hold (ASCII case counts here).
  void add_entry(Entry entry);
  // Adds n entries titled prefix + number, from first.
  void add_entries(const std::string& prefix, int first, int n);
  // The count the result pages announce instead of the number of matches (any text).
  void announce_count(const std::string& count_text);
  // Serves `body` for `address` instead of what the site would serve.
  void serve(const std::string& address, const std::string& body);
  // Requests whose address holds `part` wait until release() (or release_all()).
  void hold_back(const std::string& part);
  void release_all();
  // Every request waits this long first (milliseconds).
  void set_delay_ms(int ms);

  std::vector<std::string> requests() const;
  int requests_holding(const std::string& part) const;
  int most_in_flight() const;
  int in_flight() const;

 private:
  std::string route(const std::string& address);
  std::string result_page(const std::string& keyword, int offset);
  const Entry* find_entry(int id) const;

  mutable std::mutex mutex_;
  std::condition_variable released_;
  std::vector<Entry> entries_;
  std::optional<std::string> count_text_;
  std::map<std::string, std::string> served_;
  std::vector<std::string> held_back_;
  std::vector<std::string> requests_;
  int delay_ms_ = 0;
  int in_flight_ = 0;
  int most_in_flight_ = 0;
};

// The pages themselves, as the source site and the search engine write them.
std::string detail_page_of(const FakeSite::Entry& entry);
std::string download_page_of(int id);
std::string package_of(int id);
// A hit link as a result page writes it, with the keyword highlighted.
std::string hit_link_of(int id, const std::string& title, const std::string& keyword);

#endif  // MOYAN_TESTS_SEARCH_FAKE_SITE_H_
