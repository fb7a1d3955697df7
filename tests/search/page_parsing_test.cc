// Cutting hits out of result pages and values out of detail and download pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_site.h"
#include "search/cut_all_between.h"
#include "search/detail_page.h"
#include "search/download_link.h"
#include "search/result_page.h"

namespace {

TEST(CutAllBetween, Table) {
  struct Case {
    std::string text;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"", {}},
      {"no marker here", {}},
      {"a[1]b[2]c", {"1", "2"}},
      {"[1][2]", {"1", "2"}},  // the text before the first marker is empty
      {"a[[1]", {"1"}},        // adjacent start markers: nothing between them
      {"a[1][", {"1"}},        // ending in a start marker adds no piece
      {"a[1]]", {"1"}},
      {"a[no end", {"no end"}},  // no end marker: the rest of the part
      {"a[x[y]", {"x", "y"}},    // the next start marker ends a piece too
      {"a[]b", {""}},            // an empty piece between the markers
      {"a[源]码[", {"源"}},
      // "\x81[" is one GBK character, so no start marker begins at its second byte.
      {"a\x81[x]b[y]", {"y"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cut_all_between(c.text, "[", "]"), c.pieces) << c.text;
  }
}

TEST(CutAllBetween, MarkersAreMatchedExactly) {
  EXPECT_EQ(cut_all_between("<A>x</A><a>y</a>", "<a>", "</a>"), std::vector<std::string>{"y"});
}

TEST(ResultPage, HitsLoseTheirHighlightingAndKeepThePageOrder) {
  const std::string base = "http://source.test/";
  const std::string page = "<p>" + hit_link_of(7, "超级列表框增强模块", "列表框") +
                           hit_link_of(3, "abc模块", "ABC") + hit_link_of(9, "模块源码", "") +
                           "</p>";
  const std::vector<Hit> hits = hits_of_result_page(page, base);
  ASSERT_EQ(hits.size(), 3u) << "the snapshot links hold no separator and are skipped";
  EXPECT_EQ(hits[0].path, "soft/7.html");
  EXPECT_EQ(hits[0].title, "超级列表框增强模块");
  EXPECT_EQ(hits[1].title, "abc模块");
  EXPECT_EQ(hits[2].title, "模块源码");
}

TEST(ResultPage, OnlyLinksToTheSourceSiteAreHits) {
  const std::string page =
      "<a href=\"http://other.test/soft/1.html\"target=\"_blank\">别处</a>"
      "<a href=\"HTTP://SOURCE.TEST/soft/2.html\"target=\"_blank\">大写的站</a>"
      "<a href=\"http://source.test/soft/3.html\"target=\"_blank\">本站</a>";
  const std::vector<Hit> hits = hits_of_result_page(page, "http://source.test/");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].title, "本站");
  EXPECT_TRUE(hits_of_result_page("<html>nothing</html>", "http://source.test/").empty());
}

TEST(ResultPage, AtMostAHundredHitsAreTakenFromAPage) {
  std::string page;
  for (int id = 1; id <= 150; ++id) page += hit_link_of(id, "源码" + std::to_string(id), "源码");
  const std::vector<Hit> hits = hits_of_result_page(page, "http://source.test/");
  ASSERT_EQ(hits.size(), kHitsPerResultPage);
  EXPECT_EQ(hits.front().title, "源码1");
  EXPECT_EQ(hits.back().title, "源码100") << "the first hundred, in the page's order; links "
                                             "that give no hit (each hit's snapshot) don't count";
}

TEST(ResultPage, HitTexts) {
  const std::string sep = "\"target=\"_blank\">";
  struct Case {
    std::string text;
    bool hit;
    std::string path, title;
  };
  const Case cases[] = {
      {"soft/1.html" + sep + "<em>模块</em>源码", true, "soft/1.html", "模块源码"},
      // Tags removed as exact text: "</em>" first, then "<em>"; other tags stay.
      {"p" + sep + "a<em>b</em>c<EM>d</EM>", true, "p", "abc<EM>d</EM>"},
      {"p" + sep + "<e<em>m>x", true, "p", "<em>x"},              // what one removal leaves stays
      {"p" + sep + "</<em>em>x", true, "p", "</em>x"},            // "</em>" goes before "<em>"
      {"p" + sep + "<em>a</em>b<em>c</em>d", true, "p", "abcd"},  // every one of them
      {"soft/1.html\">网页快照", false, "", ""},                  // no separator
      {"p" + sep, false, "", ""},                                 // an empty title
      {"p" + sep + "a" + sep + "b", false, "", ""},               // the separator twice
      {"p" + sep + sep, false, "", ""},           // twice, nothing between: no title
      {"p" + sep + "<em></em>", false, "", ""},   // a title of highlighting alone
      {sep + "title", true, "", "title"},         // an empty path
      {"p\"target=\"_BLANK\">t", false, "", ""},  // the separator's case counts
  };
  for (const Case& c : cases) {
    const std::optional<Hit> hit = hit_of(c.text);
    ASSERT_EQ(hit.has_value(), c.hit) << c.text;
    if (!hit) continue;
    EXPECT_EQ(hit->path, c.path) << c.text;
    EXPECT_EQ(hit->title, c.title) << c.text;
  }
}

TEST(DetailPage, ReadsTheThreeRows) {
  const std::string page = detail_page_of({1, "t", std::string("★★★★"), "128 KB", "2012-03-15"});
  EXPECT_EQ(read_rating(page), "★★★★");
  EXPECT_EQ(read_file_size(page), "128 KB");
  EXPECT_EQ(read_update_time(page), "2012-03-15");
}

TEST(DetailPage, MissingOrEmptyRows) {
  const std::string without = detail_page_of({1, "t", std::nullopt, "12 KB", "2010-01-01"});
  EXPECT_EQ(read_rating(without), "");
  EXPECT_EQ(read_file_size(without), "12 KB") << "a missing rating row leaves the others";
  const std::string empty = detail_page_of({1, "t", std::string(), "13 KB", "2010-01-02"});
  EXPECT_EQ(read_rating(empty), "") << "the markers with nothing between them";
  EXPECT_EQ(read_update_time(empty), "2010-01-02");
}

TEST(DetailPage, MarkersNeedTheirExactSpacesLineBreaksAndColons) {
  const std::string good = detail_page_of({1, "t", std::string("★"), "1 KB", "2011"});
  struct Case {
    std::string from, to, what;
  };
  const Case cases[] = {
      {"评论等级：", "评论等级:", "an ASCII colon"},
      {"\r\n          <td class=\"c_orange\">", "\n          <td class=\"c_orange\">",
       "a bare line feed"},
      {"          <th>评论", "         <th>评论", "nine spaces instead of ten"},
      {"c_orange\"> ", "c_orange\">", "no space before the value"},
  };
  for (const Case& c : cases) {
    std::string page = good;
    const size_t at = page.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.what;
    page.replace(at, c.from.size(), c.to);
    EXPECT_EQ(read_rating(page), "") << c.what;
  }
  // Tag names in another case still match (letters are compared without case).
  std::string upper = good;
  upper.replace(upper.find("<td class=\"c_orange\">"), 21, "<TD CLASS=\"C_ORANGE\">");
  EXPECT_EQ(read_rating(upper), "★");
}

TEST(DownloadLinks, BothPairsOfMarkers) {
  EXPECT_EQ(download_page_path_of(detail_page_of({42, "t", std::string("★"), "", ""})),
            "down/42.html");
  EXPECT_EQ(package_link_of(download_page_of(42)), "files/42.rar");
  EXPECT_EQ(download_page_path_of("<div id=\"down_address\">\n    <a href='x' target='_blank'>"
                                  "本地下载</a>"),
            "")
      << "a bare line feed";
  EXPECT_EQ(package_link_of("<!--判断是否已经扣点-->\r\n<a href=\"\"><img src=\""), "");
}

}  // namespace
