// A writer killed at every write call of a chain rewrite, a grow, a shrink, a clear, a
// text write and the two ways of appending an entry (those that take a free block also
// where another writer left it untidy): the library as the dead process
// left it opens sound (no block in two values, or in a value and on the free chain), each
// record holds its old or its new value, and it goes on taking writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "chain_scenarios.h"
#include "child_process.h"
#include "faulty_files.h"
#include "store_test_support.h"

namespace {

using ::testing::IsEmpty;

// "scenario index:write call:library path", for a child that dies at that write call.
const char kChildVariable[] = "MOYAN_STORE_KILLED_WRITER";

int run_child(const std::string& task) {
  size_t first = task.find(':'), second = task.find(':', first + 1);
  const size_t scenario = std::stoul(task.substr(0, first));
  const int call = std::stoi(task.substr(first + 1, second - first - 1));
  const std::string lib = task.substr(second + 1);
  FaultyFiles files;
  if (!store_open(lib)) return 2;
  files.fail_at(call, FaultyFiles::Fault::kDie);
  const bool ran = chain_scenarios()[scenario].run();
  store_close();
  return ran ? 0 : 3;
}

class KilledWriter : public StoreTest {};

TEST_F(KilledWriter, LibraryOpensSoundAfterDeathAtEveryWrite) {
  const std::string tidy = new_library("start.edb");
  make_scenario_library(tidy);
  ASSERT_THAT(unsound_findings(tidy), IsEmpty());
  // The same library with its free block left as another writer leaves one: its length
  // word and data as they were. Writes that take it check and tidy the free chain first.
  const std::string untidy = path("untidy.edb");
  copy_library(tidy, untidy);
  std::string companion = read_file(companion_of(untidy));
  put32(&companion, 8 * 512 + 8, 500);
  companion.replace(8 * 512 + 12, 500, 500, 'u');
  write_file(companion_of(untidy), companion);
  ASSERT_THAT(unsound_findings(untidy), IsEmpty());
  const std::string lib = path("t.edb");
  const std::vector<ChainScenario> scenarios = chain_scenarios();
  for (size_t s = 0; s < 2 * scenarios.size(); ++s) {
    const ChainScenario& scenario = scenarios[s % scenarios.size()];
    const bool takes_free_block =
        scenario.after.size() > scenario_start().size() || std::string(scenario.name) == "grow";
    if (s >= scenarios.size() && !takes_free_block) continue;
    const std::string& start = s < scenarios.size() ? tidy : untidy;
    for (int call = 1;; ++call) {
      ASSERT_LT(call, 40) << scenario.name << " never ends";
      const std::string where = std::string(scenario.name) + (start == untidy ? ", untidy" : "") +
                                ", killed at write " + std::to_string(call);
      copy_library(start, lib);
      const int status =
          wait_child(start_child(kChildVariable, std::to_string(s % scenarios.size()) + ":" +
                                                     std::to_string(call) + ":" + lib));
      if (status == 0) {
        // The operation ran whole before write `call` came.
        ASSERT_TRUE(store_open(lib)) << where;
        EXPECT_THAT(old_or_new(scenario), IsEmpty()) << where;
        store_close();
        break;
      }
      ASSERT_EQ(status, FaultyFiles::kDiedStatus) << where;
      // As the dead writer left it, before any repair of opening.
      EXPECT_THAT(unsound_findings(lib), IsEmpty()) << where;
      ASSERT_TRUE(store_open(lib)) << where;
      EXPECT_THAT(old_or_new(scenario), IsEmpty()) << where;
      EXPECT_TRUE(append_record(
                      {{kFieldTitle, "after"}, {kFieldAttachment, ByteSet(std::string(900, 'z'))}})
                      .is_ok())
          << where;
      EXPECT_TRUE(go_to_record(1) && write_field(kFieldAttachment, ByteSet(std::string(800, 'y'))))
          << where;
      store_close();
      EXPECT_THAT(unsound_findings(lib), IsEmpty()) << where;
    }
  }
}

}  // namespace

// A child started by the test dies at its write call; otherwise this is an ordinary test
// program.
int main(int argc, char** argv) {
  if (const char* task = std::getenv(kChildVariable)) return run_child(task);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
