#include "locking_process.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "store/platform_file.h"
#include "store/store_file.h"
#include "store_test_support.h"

namespace fs = std::filesystem;

namespace {

const char kLockingChildVariable[] = "MOYAN_LOCKING_CHILD";
// Long enough for a cold start under Wine; a child that never locks fails the test, late.
constexpr int64_t kStartWaitMs = 60000;

bool wait_for_file(const std::string& path, int64_t ms) {
  const int64_t deadline = monotonic_ms() + ms;
  while (!fs::exists(path)) {
    if (monotonic_ms() >= deadline) return false;
    sleep_ms(1);
  }
  return true;
}

}  // namespace

LockingProcess::LockingProcess(const std::string& file, int64_t offset)
    : marker_(file + ".locker") {
  fs::remove(marker_ + ".held");
  fs::remove(marker_ + ".release");
  child_ = start_child(kLockingChildVariable, std::to_string(offset) + "|" + marker_ + "|" + file);
  held_ = wait_for_file(marker_ + ".held", kStartWaitMs);
}

LockingProcess::~LockingProcess() {
  write_file(marker_ + ".release", "");
  wait_child(child_);
  std::error_code ignored;
  fs::remove(marker_ + ".held", ignored);
  fs::remove(marker_ + ".release", ignored);
}

int64_t record_lock_byte(const std::string& lib, int n) {
  std::unique_ptr<StoreFile> store;
  if (!StoreFile::open(lib, FileAccess::kReadOnly, &store)) return -1;
  return store->data_start() + store->record_size() * (n - 1);
}

std::optional<int> run_locking_child() {
  const char* value = std::getenv(kLockingChildVariable);
  if (value == nullptr) return std::nullopt;
  // offset|marker|file
  const std::string spec = value;
  const size_t a = spec.find('|'), b = spec.find('|', a + 1);
  const int64_t offset = std::stoll(spec.substr(0, a));
  const std::string marker = spec.substr(a + 1, b - a - 1), file = spec.substr(b + 1);
  std::unique_ptr<PlatformFile> opened;
  if (!open_existing_file(file, FileAccess::kReadWrite, &opened)) return 2;
  if (!opened->try_lock(offset, 1)) return 3;
  write_file(marker + ".held", "");
  // Kept until the test releases it, or ends without doing so.
  if (!wait_for_file(marker + ".release", 10 * kStartWaitMs)) return 4;
  opened->unlock(offset, 1);
  return 0;
}
