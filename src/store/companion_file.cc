#include "store/companion_file.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_set>

#include "store/little_endian.h"

namespace {

constexpr int64_t kWholeFile = 0x80000000LL;  // bytes 0 to 0x7FFFFFFF
constexpr char kCompanionTag[4] = {'W', 'E', 'D', 'T'};
constexpr size_t kMaxRunBlocks = 2048;  // 1 MB per read or write call
// A chain's first read takes at least this many blocks, then each read four times the one
// before while the chain runs on through consecutive blocks: a 1 MB value written whole is
// read in four calls.
constexpr int64_t kFirstRunBlocks = 32;
// Block count, free count and first free block: the header words a chain write changes,
// written together in one call.
constexpr int64_t kHeaderWordsAt = 16;

int64_t block_offset(int32_t block) {
  return static_cast<int64_t>(block) * kBlockSize;
}

bool same_words(const CompanionHeader& a, const CompanionHeader& b) {
  return a.block_count == b.block_count && a.free_count == b.free_count &&
         a.first_free == b.first_free;
}

Status write_header_words(PlatformFile* file, const CompanionHeader& h) {
  char words[12];
  put_i32(words, h.block_count);
  put_i32(words + 4, h.free_count);
  put_i32(words + 8, h.first_free);
  return file->write_at(kHeaderWordsAt, words, sizeof words);
}

std::string number(int64_t n) {
  return std::to_string(n);
}

}  // namespace

// The blocks one step of a chain write changes, kept as whole images until they are
// written out together: consecutive blocks go to the file in one write.
class BlockEdits {
 public:
  explicit BlockEdits(PlatformFile* file) : file_(file) {}

  // The image to change, read from the file first unless already pending.
  Status edit(int32_t block, char** image) {
    auto it = images_.find(block);
    if (it == images_.end()) {
      std::string bytes(kBlockSize, '\0');
      Status read = file_->read_at(block_offset(block), bytes.data(), bytes.size());
      if (!read) return read;
      it = images_.emplace(block, std::move(bytes)).first;
    }
    *image = it->second.data();
    return Status::ok();
  }
  // A zeroed image that replaces the block whole.
  char* replace(int32_t block) {
    std::string& image = images_[block];
    image.assign(kBlockSize, '\0');
    return image.data();
  }
  // The block's header as it will stand once the edits are written.
  Status peek(int32_t block, BlockHeader* header) {
    auto it = images_.find(block);
    if (it != images_.end()) {
      decode_block_header(it->second.data(), header);
      return Status::ok();
    }
    char bytes[12];
    Status read = file_->read_at(block_offset(block), bytes, sizeof bytes);
    if (read) decode_block_header(bytes, header);
    return read;
  }
  void drop(int32_t block) { images_.erase(block); }

  // The pending images, consecutive blocks in one write each. No block locks: the
  // companion header lock, held through the whole chain write, keeps every other writer
  // away from these blocks, and a reader of a chain holds the lock of the record that owns
  // it.
  Status write_out() {
    std::string run;
    int32_t run_first = 0;
    auto flush_run = [&] {
      Status put = run.empty() ? Status::ok()
                               : file_->write_at(block_offset(run_first), run.data(), run.size());
      run.clear();
      return put;
    };
    for (const auto& [block, image] : images_) {
      bool adjacent = !run.empty() &&
                      block == run_first + static_cast<int64_t>(run.size()) / kBlockSize &&
                      run.size() < kMaxRunBlocks * kBlockSize;
      if (!adjacent) {
        Status put = flush_run();
        if (!put) return put;
        run_first = block;
      }
      run += image;
    }
    images_.clear();
    return flush_run();
  }

 private:
  PlatformFile* file_;
  std::map<int32_t, std::string> images_;
};

Status CompanionFile::open(const std::string& path, int32_t store_version, FileAccess access,
                           std::vector<std::string>* repairs, std::unique_ptr<CompanionFile>* out) {
  std::unique_ptr<PlatformFile> file;
  Status opened = open_existing_file(path, access, &file);
  if (!opened) return opened;
  std::unique_ptr<CompanionFile> companion(new CompanionFile(std::move(file), path));
  ByteLock whole(&companion->locks_, 0, kWholeFile);
  if (!whole.held()) return Status::locked(path);
  Status checked = companion->check_and_repair(store_version, access, repairs);
  if (!checked) return checked;
  whole.release();
  *out = std::move(companion);
  return Status::ok();
}

// Under the whole-file lock.
Status CompanionFile::check_and_repair(int32_t store_version, FileAccess access,
                                       std::vector<std::string>* repairs) {
  char bytes[kCompanionHeaderSize];
  int64_t size = 0;
  Status sized = file_->size(&size);
  if (!sized) return sized;
  if (size < kCompanionHeaderSize) return Status::corrupt("companion header short");
  Status read = file_->read_at(0, bytes, sizeof bytes);
  if (!read) return read;
  CompanionHeader h;
  decode_companion_header(bytes, &h);
  if (std::memcmp(h.tag, kCompanionTag, 4) != 0) return Status::corrupt("companion tag");
  if (h.version != store_version) return Status::corrupt("companion version");
  if (h.block_count < 1) return Status::corrupt("companion block count");
  if (h.free_count < 0 || h.free_count > h.block_count - 1) {
    return Status::corrupt("companion free count");
  }
  if (h.first_free < 0 || h.first_free > h.block_count - 1) {
    return Status::corrupt("companion first free block");
  }

  // A companion cut short (a crash, a copy that stopped) keeps the blocks it still holds;
  // block 0 always counts. A free chain that starts past the new end is dropped, so the
  // file opens again next time (its sound free blocks are lost, never handed out twice).
  CompanionHeader repaired = h;
  int64_t file_blocks = size / kBlockSize;
  if (file_blocks < h.block_count) {
    repaired.block_count = static_cast<int32_t>(std::max<int64_t>(1, file_blocks));
    repairs->push_back("companion block count " + number(h.block_count) + " -> " +
                       number(repaired.block_count) + " (the file holds " + number(file_blocks) +
                       " blocks)");
    if (repaired.first_free >= repaired.block_count) {
      repairs->push_back("companion free chain dropped (its first block " +
                         number(repaired.first_free) + " lies past the end)");
      repaired.first_free = 0;
      repaired.free_count = 0;
    } else if (repaired.free_count > repaired.block_count - 1) {
      repairs->push_back("companion free count " + number(repaired.free_count) + " -> " +
                         number(repaired.block_count - 1));
      repaired.free_count = repaired.block_count - 1;
    }
  }
  if (access == FileAccess::kReadWrite && !same_words(repaired, h)) {
    Status put = write_header_words(file_.get(), repaired);
    if (!put) return put;
    dirty_ = true;
  }
  header_blocks_ = access == FileAccess::kReadWrite ? repaired.block_count : h.block_count;
  return Status::ok();
}

Status CompanionFile::read_header(CompanionHeader* header, bool as_repaired) {
  ByteLock lock(&locks_, 0);
  if (!lock.held()) return Status::locked(path_);
  char bytes[kCompanionHeaderSize];
  Status read = file_->read_at(0, bytes, sizeof bytes);
  if (!read) return read;
  decode_companion_header(bytes, header);
  if (!as_repaired) return Status::ok();
  int32_t limit = 0;
  Status limited = block_limit(&limit);
  if (!limited) return limited;
  // As opening repairs a cut file (a file opened for reading only isn't repaired).
  if (header->block_count > limit) {
    header->block_count = limit;
    if (header->first_free >= limit) header->first_free = header->free_count = 0;
    header->free_count = std::min(header->free_count, limit - 1);
  }
  return Status::ok();
}

Status CompanionFile::read_block_header(int32_t block, BlockHeader* header) {
  char bytes[12];
  Status read = file_->read_at(block_offset(block), bytes, sizeof bytes);
  if (read) decode_block_header(bytes, header);
  return read;
}

Status CompanionFile::block_limit(int32_t* blocks) {
  char count[4];
  int64_t size = 0;
  Status read = file_->read_at(kHeaderWordsAt, count, sizeof count);
  if (read) read = file_->size(&size);
  if (!read) return read;
  *blocks = static_cast<int32_t>(
      std::max<int64_t>(1, std::min<int64_t>(get_i32(count), size / kBlockSize)));
  return Status::ok();
}

// Whether a chain may hold the block: inside the header's block count and the file, as a
// chain write sees them. The count is read again only when a block lies past the one last
// read (another opener may have added blocks since); the file's size is taken each time.
Status CompanionFile::chain_limit(int32_t block, bool* inside) {
  if (block >= header_blocks_ || header_blocks_ == 0) {
    char count[4];
    Status read = file_->read_at(kHeaderWordsAt, count, sizeof count);
    if (!read) return read;
    header_blocks_ = get_i32(count);
  }
  int64_t size = 0;
  Status sized = file_->size(&size);
  if (!sized) return sized;
  file_blocks_ = static_cast<int32_t>(
      std::max<int64_t>(1, std::min<int64_t>(header_blocks_, size / kBlockSize)));
  *inside = block >= 1 && block < file_blocks_;
  return Status::ok();
}

Status CompanionFile::read_chain(int32_t first_block, ByteSet* value) {
  value->clear();
  if (first_block == 0) return Status::ok();
  auto fail = [value](Status why) {
    value->clear();
    return why;
  };
  // The same blocks a chain write would follow: within the header's count and the file,
  // each in use, each once (more steps than blocks means a loop). The limit is the one last
  // seen: a block past it has it looked at again (another opener may have added blocks),
  // and a run that the file ends in tells where the file ends now (another opener may have
  // cut free blocks off its end), so no chain costs a look at the file's size.
  bool inside = false;
  Status status;
  int64_t steps = 0;
  int64_t run = std::clamp<int64_t>(last_chain_blocks_ + last_chain_blocks_ / 8 + 1,
                                    kFirstRunBlocks, kMaxRunBlocks);
  for (int32_t b = first_block; b != 0;) {
    if (b < 1 || b >= file_blocks_) {
      // Past the limit as last seen: the file may have grown since.
      status = chain_limit(b, &inside);
      if (!status) return fail(status);
      if (!inside) return fail(Status::corrupt("chain leaves the file at block " + number(b)));
    }
    // Blocks b, b + 1, ... in one read, as far as the file goes; the chain decides how many
    // of them it takes.
    run_.resize(static_cast<size_t>(std::min<int64_t>(run, file_blocks_ - b) * kBlockSize));
    size_t got = 0;
    status = file_->read_up_to(block_offset(b), run_.data(), run_.size(), &got);
    ++chain_reads_;
    if (!status) return fail(status);
    // Fewer blocks where the file ends; none: another opener cut it before b.
    const int64_t blocks = static_cast<int64_t>(got) / kBlockSize;
    if (blocks == 0) return fail(Status::corrupt("chain leaves the file at block " + number(b)));
    int64_t used = 0;
    int64_t data = 0;
    BlockHeader h;
    for (;;) {
      if (++steps > file_blocks_) return fail(Status::corrupt("chain loops"));
      decode_block_header(run_.data() + used * kBlockSize, &h);
      if (h.length < 1 || h.length > kBlockDataSize) {
        return fail(Status::corrupt("chain block " + number(b + used) + " is free or malformed"));
      }
      data += h.length;
      ++used;
      if (h.next != b + used || used == blocks) break;
    }
    value->reserve(value->size() + static_cast<size_t>(data));
    for (int64_t k = 0; k < used; ++k) {
      const char* block = run_.data() + k * kBlockSize;
      value->append(block + 12, static_cast<size_t>(get_i32(block + 8)));
    }
    // A chain that ran on through the whole read is likely to run on: read more next time.
    // One that turned elsewhere is read in steps the size of its last stretch.
    run =
        used == blocks ? std::min<int64_t>(blocks * 4, kMaxRunBlocks) : std::max<int64_t>(1, used);
    b = h.next;
  }
  last_chain_blocks_ = steps;
  if (run_.capacity() > kMaxRunBlocks * kBlockSize) std::string().swap(run_);
  return Status::ok();
}

Status CompanionFile::write_chain(int32_t old_first, std::string_view data,
                                  const std::function<Status(int32_t)>& set_reference) {
  ByteLock lock(&locks_, 0);
  if (!lock.held()) return Status::locked(path_);
  // Whatever happens from here on may have changed the file.
  dirty_ = true;
  return write_chain_locked(old_first, data, set_reference);
}

// Under the companion header lock, when the free chain's first block has a length word that
// isn't zero: another writer may leave free blocks so, or the chain may lead into a value.
// Every value's blocks are marked (as far as their links go, whatever their lengths), then
// the free chain is kept as far as it runs through blocks inside the file that no value
// holds, each once; from where it doesn't, it is cut (that space is lost, never handed out
// twice). The blocks kept are made tidy (linked both ways, length and data zero) among the
// pending edits, and the header's free count becomes their number.
Status CompanionFile::tidy_free_chain(CompanionHeader* h, const std::unordered_set<int32_t>& taken,
                                      BlockEdits* edits) {
  std::vector<int32_t> kept;
  if (references_) {
    std::vector<int32_t> firsts;
    Status status = references_(&firsts);
    if (!status) return status;
    const int32_t blocks = h->block_count;
    std::vector<char> held(static_cast<size_t>(blocks), 0);
    for (int32_t b : taken) {
      if (b >= 1 && b < blocks) held[static_cast<size_t>(b)] = 1;
    }
    for (int32_t first : firsts) {
      for (int32_t b = first; b >= 1 && b < blocks && !held[static_cast<size_t>(b)];) {
        held[static_cast<size_t>(b)] = 1;
        BlockHeader bh;
        status = edits->peek(b, &bh);
        if (!status) return status;
        b = bh.next;
      }
    }
    for (int32_t b = h->first_free; b >= 1 && b < blocks && !held[static_cast<size_t>(b)];) {
      held[static_cast<size_t>(b)] = 1;  // once
      kept.push_back(b);
      BlockHeader bh;
      status = edits->peek(b, &bh);
      if (!status) return status;
      b = bh.next;
    }
  }
  for (size_t k = 0; k < kept.size(); ++k) {
    encode_block_header({k == 0 ? 0 : kept[k - 1], k + 1 < kept.size() ? kept[k + 1] : 0, 0},
                        edits->replace(kept[k]));
  }
  h->first_free = kept.empty() ? 0 : kept[0];
  h->free_count = static_cast<int32_t>(kept.size());
  return Status::ok();
}

// Under the companion header lock. The steps, each one safe to die after:
//   1. allocation: blocks taken off the free chain, or the larger block count, written to
//      the header before anything links to the blocks;
//   2. the new value's blocks apart from its first one, where nothing refers to them yet;
//   3. the change-over, one write: the value's first block rewritten in place when the
//      value keeps it (so its reference stays), or the record's reference;
//   4. the old value's leftover blocks, now unreachable, freed and put at the head of the
//      free chain; when one of them was the file's last block, free blocks at the end are
//      unlinked and dropped; the header; then the file is cut.
Status CompanionFile::write_chain_locked(int32_t old_first, std::string_view data,
                                         const std::function<Status(int32_t)>& set_reference) {
  char header_bytes[kCompanionHeaderSize];
  Status status = file_->read_at(0, header_bytes, sizeof header_bytes);
  if (!status) return status;
  CompanionHeader h;
  decode_companion_header(header_bytes, &h);
  if (h.block_count < 1) return Status::corrupt("companion block count");
  CompanionHeader on_disk = h;
  BlockEdits edits(file_.get());

  // The old chain as far as it is sound: in the file, each block once, each in use.
  std::vector<int32_t> old_chain;
  std::unordered_set<int32_t> taken;
  for (int32_t b = old_first; b != 0;) {
    BlockHeader bh;
    if (b < 1 || b >= h.block_count || taken.count(b) != 0 || !edits.peek(b, &bh) ||
        bh.length < 1 || bh.length > kBlockDataSize) {
      break;
    }
    taken.insert(b);
    old_chain.push_back(b);
    b = bh.next;
  }

  // A free block is usable when it lies in the file, is free and not already taken; a free
  // chain that breaks that is left aside rather than followed into live data. A free block
  // whose length word isn't zero (another writer's, or a value's) makes the whole free chain
  // checked against every value first, once per write.
  bool tidied = false;
  auto usable_free_head = [&]() {
    BlockHeader fh;
    if (h.first_free == 0) return false;
    const bool inside =
        h.first_free >= 1 && h.first_free < h.block_count && taken.count(h.first_free) == 0;
    if (inside && edits.peek(h.first_free, &fh) && fh.length == 0) return true;
    if (inside && !tidied) {
      tidied = true;
      if (tidy_free_chain(&h, taken, &edits) && h.first_free != 0) return true;
    }
    h.first_free = 0;
    h.free_count = 0;
    return false;
  };

  // 1. Allocation.
  const size_t pieces = (data.size() + kBlockDataSize - 1) / kBlockDataSize;
  const bool keeps_first = !old_chain.empty() && pieces > 0;
  std::vector<int32_t> blocks;  // of the new value, in order
  if (keeps_first) blocks.push_back(old_chain[0]);
  bool took_free = false;
  while (blocks.size() < pieces) {
    if (usable_free_head()) {
      BlockHeader fh;
      status = edits.peek(h.first_free, &fh);
      if (!status) return status;
      blocks.push_back(h.first_free);
      taken.insert(h.first_free);
      h.first_free = fh.next;
      h.free_count = std::max(0, h.free_count - 1);
      took_free = true;
    } else {
      if (h.block_count >= kMaxBlocks) return Status::invalid("companion file full: " + path_);
      blocks.push_back(h.block_count++);
    }
  }
  if (took_free && usable_free_head()) {
    char* head = nullptr;
    status = edits.edit(h.first_free, &head);
    if (!status) return status;
    put_i32(head, 0);  // the new head of the free chain has no previous block
  }
  if (!same_words(h, on_disk)) {
    status = write_header_words(file_.get(), h);
    if (!status) return status;
    on_disk = h;
  }

  // 2. The new value's blocks that nothing refers to yet.
  auto fill = [&](size_t k, char* image) {
    size_t start = k * kBlockDataSize;
    size_t length = std::min<size_t>(kBlockDataSize, data.size() - start);
    encode_block_header({k == 0 ? 0 : blocks[k - 1], k + 1 < pieces ? blocks[k + 1] : 0,
                         static_cast<int32_t>(length)},
                        image);
    std::memcpy(image + 12, data.data() + start, length);
  };
  for (size_t k = keeps_first ? 1 : 0; k < pieces; ++k) fill(k, edits.replace(blocks[k]));
  status = edits.write_out();
  if (!status) return status;

  // 3. The change-over.
  const int32_t new_first = pieces == 0 ? 0 : blocks[0];
  if (keeps_first) {
    char image[kBlockSize] = {};
    fill(0, image);
    status = file_->write_at(block_offset(blocks[0]), image, sizeof image);
  } else if (new_first != old_first) {
    status = set_reference(new_first);
  }
  if (!status) return status;

  // 4. Leftover blocks of the old chain become the head of the free chain.
  const size_t reused = keeps_first ? 1 : 0;
  if (old_chain.size() <= reused) return Status::ok();
  const int32_t old_head = usable_free_head() ? h.first_free : 0;
  bool freed_last = false;
  for (size_t j = reused; j < old_chain.size(); ++j) {
    char* image = edits.replace(old_chain[j]);
    encode_block_header({j == reused ? 0 : old_chain[j - 1],
                         j + 1 < old_chain.size() ? old_chain[j + 1] : old_head, 0},
                        image);
    freed_last = freed_last || old_chain[j] == h.block_count - 1;
  }
  if (old_head != 0) {
    char* head = nullptr;
    status = edits.edit(old_head, &head);
    if (!status) return status;
    put_i32(head, old_chain.back());
  }
  h.first_free = old_chain[reused];
  h.free_count = static_cast<int32_t>(std::min<int64_t>(
      static_cast<int64_t>(h.free_count) + static_cast<int64_t>(old_chain.size() - reused),
      h.block_count - 1));

  // Free blocks at the end of the file are given back: unlinked, dropped, then the header,
  // then the file cut (a header never names blocks the file no longer holds). Only a block
  // provably linked where the walk finds it is unlinked.
  bool cut = false;
  while (freed_last && h.block_count > 1) {
    const int32_t last = h.block_count - 1;
    BlockHeader lh;
    if (!edits.peek(last, &lh) || lh.length != 0) break;
    const bool next_sound = lh.next >= 1 && lh.next < last;
    if (h.first_free == last) {
      h.first_free = next_sound ? lh.next : 0;
      if (!next_sound) h.free_count = 0;
    } else {
      BlockHeader ph;
      if (lh.previous < 1 || lh.previous >= last || !edits.peek(lh.previous, &ph) ||
          ph.length != 0 || ph.next != last) {
        break;
      }
      char* prev = nullptr;
      status = edits.edit(lh.previous, &prev);
      if (!status) return status;
      put_i32(prev + 4, next_sound ? lh.next : 0);
    }
    if (next_sound) {
      char* next = nullptr;
      status = edits.edit(lh.next, &next);
      if (!status) return status;
      put_i32(next, h.first_free == lh.next ? 0 : lh.previous);
    }
    edits.drop(last);
    --h.block_count;
    h.free_count = std::max(0, std::min(h.free_count - 1, h.block_count - 1));
    cut = true;
  }

  status = edits.write_out();
  if (status && !same_words(h, on_disk)) status = write_header_words(file_.get(), h);
  if (status && cut) status = file_->truncate(block_offset(h.block_count));
  return status;
}
