#include "chain_scenarios.h"

#include "store/store.h"

namespace {

std::string data_of(size_t n, char seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i % 23);
  return s;
}

bool write_attachment(int record, const std::string& data) {
  return go_to_record(record) && write_field(kFieldAttachment, ByteSet(data));
}

// Entry n (1-based) of the start with its attachment replaced.
std::vector<ScenarioEntry> with_attachment(int n, const std::string& data) {
  std::vector<ScenarioEntry> entries = scenario_start();
  entries[static_cast<size_t>(n - 1)].attachment = data;
  return entries;
}

const ScenarioEntry kAppended = {"six", data_of(1100, 'W'), "c"};

}  // namespace

std::vector<ScenarioEntry> scenario_start() {
  return {
      {"one", data_of(1200, 'a'), "x"},   // blocks 1 2 3
      {"two", data_of(700, 'b'), "x"},    // 4 5
      {"three", "", "x"},                 // had 6 7 8; 8 is left free
      {"four", data_of(1300, 'c'), "x"},  // 9 10 11: the file's last blocks
      {"five", data_of(600, 'd'), "x"},   // 6 7, taken off the free chain
  };
}

void make_scenario_library(const std::string& lib) {
  store_open(lib);
  std::vector<ScenarioEntry> start = scenario_start();
  for (const ScenarioEntry& e : start) {
    append_blank_record();
    write_field(kFieldTitle, e.title);
    write_field(kFieldCategory, e.category);
  }
  write_attachment(1, start[0].attachment);
  write_attachment(2, start[1].attachment);
  write_attachment(3, data_of(1100, 'x'));
  write_attachment(4, start[3].attachment);
  write_attachment(3, "");
  write_attachment(5, start[4].attachment);
  store_close();
}

std::vector<ChainScenario> chain_scenarios() {
  std::vector<ScenarioEntry> renamed = scenario_start();
  renamed[2].title = "renamed";
  std::vector<ScenarioEntry> appended = scenario_start();
  appended.push_back(kAppended);
  return {
      {"rewrite", [] { return write_attachment(1, data_of(1200, 'R')); },
       with_attachment(1, data_of(1200, 'R'))},
      {"grow", [] { return write_attachment(2, data_of(2600, 'G')); },
       with_attachment(2, data_of(2600, 'G'))},
      {"shrink", [] { return write_attachment(1, data_of(300, 'S')); },
       with_attachment(1, data_of(300, 'S'))},
      {"shrink at the end", [] { return write_attachment(4, data_of(200, 'E')); },
       with_attachment(4, data_of(200, 'E'))},
      {"clear", [] { return write_attachment(2, ""); }, with_attachment(2, "")},
      {"clear at the end", [] { return write_attachment(4, ""); }, with_attachment(4, "")},
      {"text", [] { return go_to_record(3) && write_field(kFieldTitle, "renamed"); }, renamed},
      {"append whole",
       [] {
         return append_record({{kFieldTitle, kAppended.title},
                               {kFieldAttachment, ByteSet(kAppended.attachment)},
                               {kFieldCategory, kAppended.category}})
             .is_ok();
       },
       appended},
      {"append field by field",
       [] {
         return append_blank_record() && write_field(kFieldTitle, kAppended.title) &&
                write_field(kFieldAttachment, ByteSet(kAppended.attachment)) &&
                write_field(kFieldCategory, kAppended.category);
       },
       appended, false},
  };
}

std::vector<std::string> old_or_new(const ChainScenario& scenario, bool torn_texts) {
  std::vector<std::string> differed;
  const std::vector<ScenarioEntry> before = scenario_start();
  const std::vector<ScenarioEntry>& after = scenario.after;
  const int count = record_count();
  if (count != static_cast<int>(before.size()) && count != static_cast<int>(after.size())) {
    return {"record count " + std::to_string(count)};
  }
  for (int i = 1; i <= count; ++i) {
    go_to_record(i);
    const size_t k = static_cast<size_t>(i - 1);
    const bool appended = k >= before.size();
    const ScenarioEntry blank;
    const ScenarioEntry& old_entry = appended ? blank : before[k];
    const ScenarioEntry& new_entry = after[k];
    std::string title = read_field(kFieldTitle).text();
    std::string category = read_field(kFieldCategory).text();
    std::string attachment = read_field(kFieldAttachment).bytes().str();
    auto check = [&](const char* what, const std::string& got, const std::string& old_value,
                     const std::string& new_value, bool may_tear) {
      if (got != old_value && got != new_value && !may_tear) {
        differed.push_back("record " + std::to_string(i) + " " + what + ": " +
                           std::to_string(got.size()) + " bytes, neither old nor new");
      }
    };
    check("title", title, old_entry.title, new_entry.title, torn_texts);
    check("category", category, old_entry.category, new_entry.category, torn_texts);
    check("attachment", attachment, old_entry.attachment, new_entry.attachment, false);
    if (appended && scenario.whole_append &&
        (title != new_entry.title || category != new_entry.category ||
         attachment != new_entry.attachment)) {
      differed.push_back("the appended entry shows before it is whole");
    }
  }
  return differed;
}
