#ifndef MOYAN_STORE_COMPANION_FILE_H_
#define MOYAN_STORE_COMPANION_FILE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "store/lock_table.h"
#include "store/platform_file.h"
#include "store/store_format.h"
#include "text/byte_set.h"

// The companion file of a store: chains of 512-byte blocks holding byte-set and long-text
// values. Callers hold the owning record's lock while they read or write a chain.
class CompanionFile {
 public:
  // Opens, checks and repairs the companion file. On refusal, *failed_check names the
  // check and the result is null.
  static std::unique_ptr<CompanionFile> open(const std::string& path, int32_t store_version,
                                             std::string* failed_check);

  // The chain's data joined; false for a chain that loops, leaves the file or holds a
  // malformed block.
  bool read_chain(int32_t first_block, ByteSet* value);
  // Replaces the chain that starts at old_first with data; *new_first is the value's
  // reference (0 for no data).
  bool write_chain(int32_t old_first, std::string_view data, int32_t* new_first);
  // The header as it stands in the file (read under the header lock).
  bool read_header(CompanionHeader* header);

  bool dirty() const { return dirty_; }
  PlatformFile& file() { return *file_; }

 private:
  explicit CompanionFile(std::unique_ptr<PlatformFile> file)
      : file_(std::move(file)), locks_(file_.get()) {}
  bool write_chain_locked(int32_t old_first, std::string_view data, int32_t* new_first);

  std::unique_ptr<PlatformFile> file_;
  LockTable locks_;
  bool dirty_ = false;
};

#endif  // MOYAN_STORE_COMPANION_FILE_H_
