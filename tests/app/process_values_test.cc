#include "app/process_values.h"

#include <gtest/gtest.h>

#include <atomic>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(ProcessValues, ReleaseGlobalsEmptiesBothAndToleratesEmpty) {
  release_globals();  // both still empty: nothing happens
  pending_file_name.set("工具.e");
  search_page_base.set("http://x/s?wd=a&pn=");
  release_globals();
  EXPECT_TRUE(pending_file_name.empty());
  EXPECT_TRUE(search_page_base.empty());
  release_globals();
}

TEST(ProcessValues, ReadersSeeWholeValuesWhileTheWriterReplacesThem) {
  SharedText text;
  const std::string a(1000, 'a'), b(2000, 'b');
  text.set(a);
  std::vector<std::thread> readers;
  std::atomic<int> torn{0};
  for (int t = 0; t < 3; ++t) {
    readers.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        std::string seen = text.get();
        if (seen != a && seen != b) ++torn;
      }
    });
  }
  for (int i = 0; i < 2000; ++i) text.set(i % 2 ? a : b);
  for (std::thread& r : readers) r.join();
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
