#include "fake_site.h"

#include <algorithm>
#include <cstdio>
#include <thread>  // with std::chrono (<chrono> itself can't be built for GBK)

namespace {

constexpr char kEngine[] = "http://engine.test/";
constexpr char kSource[] = "http://source.test/";
constexpr int kPerPage = 100;

std::string percent_decoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The value of the first `key=` in a query.
std::string query_value(const std::string& address, const std::string& key) {
  size_t at = address.find("?" + key + "=");
  if (at == std::string::npos) at = address.find("&" + key + "=");
  if (at == std::string::npos) return std::string();
  at += key.size() + 2;
  return address.substr(at, address.find('&', at) - at);
}

std::string highlighted(const std::string& title, const std::string& keyword) {
  if (keyword.empty()) return title;
  std::string out;
  size_t from = 0;
  for (size_t at; (at = title.find(keyword, from)) != std::string::npos;
       from = at + keyword.size()) {
    out += title.substr(from, at - from) + "<em>" + keyword + "</em>";
  }
  return out + title.substr(from);
}

}  // namespace

SearchSites FakeSite::sites() {
  return {kEngine, "source.test", kSource};
}

FakeSite::FakeSite() = default;

std::string detail_page_of(const FakeSite::Entry& e) {
  std::string rows;
  if (e.rating) {
    rows += "        <tr>\r\n          <th>评论等级：</th>\r\n          <td class=\"c_orange\"> " +
            *e.rating + "</td>\r\n        </tr>\r\n";
  }
  // The size's heading stands one space further left than the others, as on the site.
  rows += "        <tr>\r\n         <th>文件大小：</th>\r\n          <td> " + e.size +
          "</td>\r\n        </tr>\r\n";
  rows += "        <tr>\r\n          <th>更新时间：</th>\r\n          <td> " + e.update_time +
          "</td>\r\n        </tr>\r\n";
  return "<html>\r\n<head><title>" + e.title + "</title></head>\r\n<body>\r\n<h1>" + e.title +
         "</h1>\r\n      <table class=\"info\">\r\n" + rows +
         "      </table>\r\n<div id=\"down_address\">\r\n    <a href='down/" +
         std::to_string(e.id) + ".html' target='_blank'>本地下载</a>\r\n</div>\r\n</body></html>";
}

std::string download_page_of(int id) {
  return "<html><body><div class=\"down\">\r\n<!--判断是否已经扣点-->\r\n<a href=\"files/" +
         std::to_string(id) + ".rar\"><img src=\"images/down.gif\" /></a>\r\n</div></body></html>";
}

std::string package_of(int id) {
  std::string bytes = "Rar!\x1A\x07" + std::string(1, '\0') + "package " + std::to_string(id);
  bytes += std::string("\0\x01\x02\xFF", 4);
  return bytes;
}

std::string hit_link_of(int id, const std::string& title, const std::string& keyword) {
  const std::string link = std::string(kSource) + "soft/" + std::to_string(id) + ".html";
  return "<div class=\"result\"><h3 class=\"t\"><a href=\"" + link + "\"target=\"_blank\">" +
         highlighted(title, keyword) + "</a></h3>\r\n<a href=\"" + link +
         "\">网页快照</a></div>\r\n";
}

void FakeSite::add_entry(Entry entry) {
  std::lock_guard<std::mutex> hold(mutex_);
  entries_.push_back(std::move(entry));
}

void FakeSite::add_entries(const std::string& prefix, int first, int n) {
  std::lock_guard<std::mutex> hold(mutex_);
  const int base_id = 10000 + static_cast<int>(entries_.size());
  for (int i = 0; i < n; ++i) {
    entries_.push_back({base_id + i, prefix + std::to_string(first + i), "★★★",
                        std::to_string(10 + i) + " KB", "2012-04-01"});
  }
}

void FakeSite::announce_count(const std::string& count_text) {
  std::lock_guard<std::mutex> hold(mutex_);
  count_text_ = count_text;
}

void FakeSite::serve(const std::string& address, const std::string& body) {
  std::lock_guard<std::mutex> hold(mutex_);
  served_[address] = body;
}

void FakeSite::hold_back(const std::string& part) {
  std::lock_guard<std::mutex> hold(mutex_);
  held_back_.push_back(part);
}

void FakeSite::release_all() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    held_back_.clear();
  }
  released_.notify_all();
}

void FakeSite::set_delay_ms(int ms) {
  std::lock_guard<std::mutex> hold(mutex_);
  delay_ms_ = ms;
}

std::vector<std::string> FakeSite::requests() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return requests_;
}

int FakeSite::requests_holding(const std::string& part) const {
  std::lock_guard<std::mutex> hold(mutex_);
  return static_cast<int>(std::count_if(requests_.begin(), requests_.end(), [&](const auto& r) {
    return r.find(part) != std::string::npos;
  }));
}

int FakeSite::most_in_flight() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return most_in_flight_;
}

int FakeSite::in_flight() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return in_flight_;
}

ByteSet FakeSite::fetch(const std::string& address) {
  int delay = 0;
  {
    std::unique_lock<std::mutex> hold(mutex_);
    requests_.push_back(address);
    most_in_flight_ = std::max(most_in_flight_, ++in_flight_);
    released_.wait(hold, [&] {
      return std::none_of(held_back_.begin(), held_back_.end(), [&](const std::string& part) {
        return address.find(part) != std::string::npos;
      });
    });
    delay = delay_ms_;
  }
  if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
  std::string body;
  {
    std::lock_guard<std::mutex> hold(mutex_);
    auto served = served_.find(address);
    body = served != served_.end() ? served->second : route(address);
    --in_flight_;
  }
  return ByteSet(body);
}

const FakeSite::Entry* FakeSite::find_entry(int id) const {
  for (const Entry& e : entries_) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

// Under mutex_.
std::string FakeSite::route(const std::string& address) {
  if (address.rfind(std::string(kEngine) + "s?", 0) == 0) {
    const std::string wd = percent_decoded(query_value(address, "wd"));
    const size_t open = wd.find("title: (");
    const size_t close = wd.rfind(')');
    std::string keyword;
    if (open != std::string::npos && close != std::string::npos && close > open + 8) {
      keyword = wd.substr(open + 8, close - open - 8);
    }
    const std::string pn = query_value(address, "pn");
    return result_page(keyword, pn.empty() ? 0 : std::stoi(pn));
  }
  if (address.rfind(kSource, 0) != 0) return std::string();
  const std::string path = address.substr(std::string(kSource).size());
  int id = 0;
  char kind[8] = {};
  if (std::sscanf(path.c_str(), "%7[a-z]/%d.", kind, &id) != 2) return std::string();
  const Entry* e = find_entry(id);
  // Error pages reach no caller: the fetcher gives nothing for an answer that is no success.
  if (e == nullptr) return std::string();
  const std::string which = kind;
  if (which == "soft" && path == "soft/" + std::to_string(id) + ".html") return detail_page_of(*e);
  if (which == "down" && path == "down/" + std::to_string(id) + ".html")
    return download_page_of(id);
  if (which == "files" && path == "files/" + std::to_string(id) + ".rar") return package_of(id);
  return std::string();
}

std::string FakeSite::result_page(const std::string& keyword, int offset) {
  std::vector<const Entry*> matches;
  for (const Entry& e : entries_) {
    if (!keyword.empty() && e.title.find(keyword) != std::string::npos) matches.push_back(&e);
  }
  const std::string count = count_text_ ? *count_text_ : std::to_string(matches.size());
  std::string page = "<html><head><title>" + keyword +
                     "_搜索结果</title></head><body>\r\n<div id=\"content_left\">\r\n"
                     "<p><span class=\"nums\">找到相关结果约" +
                     count + "个</span></p>\r\n";
  const size_t first = static_cast<size_t>(std::max(offset - kPerPage, 0));
  for (size_t i = first; i < matches.size() && i < first + kPerPage; ++i) {
    page += hit_link_of(matches[i]->id, matches[i]->title, keyword);
  }
  page += "<a href=\"http://www.other-site.test/code/1.html\"target=\"_blank\">别处的源码</a>\r\n";
  return page + "</div></body></html>";
}
