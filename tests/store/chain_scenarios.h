#ifndef MOYAN_TESTS_STORE_CHAIN_SCENARIOS_H_
#define MOYAN_TESTS_STORE_CHAIN_SCENARIOS_H_

#include <functional>
#include <string>
#include <vector>

// Writes that a crash or a failing disk may interrupt, each on the same starting library:
// five entries whose attachments take chains of 1 to 3 blocks, a free block inside the
// file, and an entry whose chain holds the file's last blocks.
struct ScenarioEntry {
  std::string title;
  std::string attachment;
  std::string category;
};

struct ChainScenario {
  const char* name;
  // The operation on the current store; true when it reported success.
  std::function<bool()> run;
  // The entries once it has succeeded.
  std::vector<ScenarioEntry> after;
  // An appended entry shows whole or not at all (false: field by field).
  bool whole_append = true;
};

std::vector<ScenarioEntry> scenario_start();
// Makes the starting library at lib.
void make_scenario_library(const std::string& lib);
std::vector<ChainScenario> chain_scenarios();

// With lib as the current store: every record's fields old or new (texts torn by a
// failed write are allowed when torn_texts), at most one record appended, whole when the
// scenario appends whole. Empty when all holds; otherwise what differed.
std::vector<std::string> old_or_new(const ChainScenario& scenario, bool torn_texts = false);

#endif  // MOYAN_TESTS_STORE_CHAIN_SCENARIOS_H_
