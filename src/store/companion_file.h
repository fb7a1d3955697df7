#ifndef MOYAN_STORE_COMPANION_FILE_H_
#define MOYAN_STORE_COMPANION_FILE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "store/lock_table.h"
#include "store/platform_file.h"
#include "store/status.h"
#include "store/store_format.h"
#include "text/byte_set.h"

class BlockEdits;

// The companion file of a store: chains of 512-byte blocks holding byte-set and long-text
// values. Callers hold the owning record's lock while they read or write a chain.
//
// A chain write never lets a block be reachable from two values, or from a value and the
// free chain, at any point where the process could die: blocks are taken off the free
// chain (or the larger block count written) before anything links to them, a value
// changes over at one single write, and blocks are given back only once nothing refers to
// them any more. A crash can leave blocks that nothing reaches (lost space), never
// blocks that two owners share.
class CompanionFile {
 public:
  // Opens and checks the companion file. Opening for reading and writing repairs what a
  // cut file leaves (block count, a free chain that leaves the file); each repair made,
  // or due when opened for reading only, is added to *repairs.
  static Status open(const std::string& path, int32_t store_version, FileAccess access,
                     std::vector<std::string>* repairs, std::unique_ptr<CompanionFile>* out);

  // The chain's data joined. kCorrupt for a chain that loops, leaves the file or holds a
  // malformed or free block. Runs of consecutive blocks (a chain written whole is one run,
  // mostly) are read in one call each, every link checked as it is followed.
  Status read_chain(int32_t first_block, ByteSet* value);
  // Read calls the chain reads made so far, for measuring.
  int64_t chain_reads() const { return chain_reads_; }

  // Replaces the chain that starts at old_first with data. When the value's reference
  // changes (a value written where there was none, or emptied), set_reference is called
  // with the new one at the moment the value changes over, and must store it then;
  // otherwise the value keeps its first block and changes over when that block is
  // rewritten. Takes the companion header lock, which serialises every allocation.
  Status write_chain(int32_t old_first, std::string_view data,
                     const std::function<Status(int32_t)>& set_reference);

  // The header (read under the header lock), with its block count, free count and first
  // free block as opening would repair them, or as they stand in the file.
  Status read_header(CompanionHeader* header, bool as_repaired = true);
  // One block's links and length, for walking chains without their data.
  Status read_block_header(int32_t block, BlockHeader* header);
  // Blocks the file holds, within the header's count.
  Status block_limit(int32_t* blocks);

  // Where a chain write finds every value's first block, when it must make sure that a free
  // chain another writer left untidy (free blocks whose length word isn't zero) reaches no
  // value before it takes blocks off it. Called under the companion header lock, which
  // every change of a reference is made under.
  using ValueReferences = std::function<Status(std::vector<int32_t>* firsts)>;
  void set_value_references(ValueReferences references) { references_ = std::move(references); }

  LockTable& locks() { return locks_; }
  const std::string& path() const { return path_; }
  bool dirty() const { return dirty_; }
  PlatformFile& file() { return *file_; }

 private:
  CompanionFile(std::unique_ptr<PlatformFile> file, std::string path)
      : file_(std::move(file)), locks_(file_.get()), path_(std::move(path)) {}
  Status check_and_repair(int32_t store_version, FileAccess access,
                          std::vector<std::string>* repairs);
  Status write_chain_locked(int32_t old_first, std::string_view data,
                            const std::function<Status(int32_t)>& set_reference);
  Status chain_limit(int32_t block, bool* inside);
  Status tidy_free_chain(CompanionHeader* h, const std::unordered_set<int32_t>& taken,
                         BlockEdits* edits);

  std::unique_ptr<PlatformFile> file_;
  LockTable locks_;
  std::string path_;
  bool dirty_ = false;
  ValueReferences references_;
  // For reading chains: the header's block count as last read (read again whenever a chain
  // reaches past it: other openers add blocks), the blocks the last chain took (values of
  // one library tend to be alike, so the next chain's first read takes as many), and the
  // buffer runs are read into.
  int32_t header_blocks_ = 0;
  int32_t file_blocks_ = 0;
  int64_t last_chain_blocks_ = 0;
  std::string run_;
  int64_t chain_reads_ = 0;
};

#endif  // MOYAN_STORE_COMPANION_FILE_H_
