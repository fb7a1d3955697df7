#include "store/companion_file.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_set>
#include <vector>

#include "store/little_endian.h"

namespace {

constexpr int64_t kWholeFile = 0x80000000LL;  // bytes 0 to 0x7FFFFFFF
constexpr char kCompanionTag[4] = {'W', 'E', 'D', 'T'};
constexpr size_t kMaxRunBlocks = 2048;  // 1 MB per write call

int64_t block_offset(int32_t block) {
  return static_cast<int64_t>(block) * kBlockSize;
}

// The blocks one chain write changes, kept as whole images until they are written out
// together: consecutive blocks go to the file in one locked range and one write.
class BlockEdits {
 public:
  explicit BlockEdits(PlatformFile* file) : file_(file) {}

  // The image to change, read from the file first unless already pending.
  char* edit(int32_t block) {
    auto it = images_.find(block);
    if (it != images_.end()) return it->second.data();
    std::string image(kBlockSize, '\0');
    if (!file_->read_at(block_offset(block), image.data(), image.size())) return nullptr;
    return images_.emplace(block, std::move(image)).first->second.data();
  }
  // A zeroed image that replaces the block whole.
  char* replace(int32_t block) {
    std::string& image = images_[block];
    image.assign(kBlockSize, '\0');
    return image.data();
  }
  // The block's header as it will stand once the edits are written.
  bool peek(int32_t block, BlockHeader* header) {
    auto it = images_.find(block);
    if (it != images_.end()) {
      decode_block_header(it->second.data(), header);
      return true;
    }
    char bytes[12];
    if (!file_->read_at(block_offset(block), bytes, sizeof bytes)) return false;
    decode_block_header(bytes, header);
    return true;
  }
  void drop(int32_t block) { images_.erase(block); }

  // Consecutive blocks go out in one write. No block locks: the companion header lock,
  // held through the whole chain write, keeps every other writer away from these blocks,
  // and a reader of a chain holds the lock of the record that owns it.
  bool write_out() {
    std::string run;
    int32_t run_first = 0;
    auto flush_run = [&] {
      bool ok = run.empty() || file_->write_at(block_offset(run_first), run.data(), run.size());
      run.clear();
      return ok;
    };
    for (const auto& [block, image] : images_) {
      bool adjacent = !run.empty() &&
                      block == run_first + static_cast<int64_t>(run.size()) / kBlockSize &&
                      run.size() < kMaxRunBlocks * kBlockSize;
      if (!adjacent) {
        if (!flush_run()) return false;
        run_first = block;
      }
      run += image;
    }
    return flush_run();
  }

 private:
  PlatformFile* file_;
  std::map<int32_t, std::string> images_;
};

}  // namespace

std::unique_ptr<CompanionFile> CompanionFile::open(const std::string& path, int32_t store_version,
                                                   std::string* failed_check) {
  std::unique_ptr<PlatformFile> file = PlatformFile::open_existing(path);
  if (!file) {
    *failed_check = "companion file missing";
    return nullptr;
  }
  std::unique_ptr<CompanionFile> companion(new CompanionFile(std::move(file)));
  if (!companion->locks_.lock(0, kWholeFile)) {
    *failed_check = "companion file locked";
    return nullptr;
  }
  char bytes[kCompanionHeaderSize];
  CompanionHeader h;
  if (!companion->file_->read_at(0, bytes, sizeof bytes)) {
    *failed_check = "companion header short";
    return nullptr;
  }
  decode_companion_header(bytes, &h);
  if (std::memcmp(h.tag, kCompanionTag, 4) != 0) {
    *failed_check = "companion tag";
  } else if (h.version != store_version) {
    *failed_check = "companion version";
  } else if (h.block_count < 1) {
    *failed_check = "companion block count";
  } else if (h.free_count < 0 || h.free_count > h.block_count - 1) {
    *failed_check = "companion free count";
  } else if (h.first_free < 0 || h.first_free > h.block_count - 1) {
    *failed_check = "companion first free block";
  }
  if (!failed_check->empty()) return nullptr;

  // A companion cut short keeps the blocks it still holds; block 0 always counts.
  int64_t file_blocks = companion->file_->size() / kBlockSize;
  if (file_blocks < h.block_count) {
    char count[4];
    put_i32(count, static_cast<int32_t>(std::max<int64_t>(1, file_blocks)));
    companion->file_->write_at(16, count, sizeof count);
  }
  companion->locks_.unlock(0, kWholeFile);
  return companion;
}

bool CompanionFile::read_header(CompanionHeader* header) {
  if (!locks_.lock(0)) return false;
  char bytes[kCompanionHeaderSize];
  bool ok = file_->read_at(0, bytes, sizeof bytes);
  locks_.unlock(0);
  if (ok) decode_companion_header(bytes, header);
  return ok;
}

bool CompanionFile::read_chain(int32_t first_block, ByteSet* value) {
  value->clear();
  if (first_block == 0) return true;
  // Each block may be visited once: more steps than blocks means a loop.
  int64_t file_blocks = file_->size() / kBlockSize;
  char block[kBlockSize];
  int64_t steps = 0;
  for (int32_t b = first_block; b != 0;) {
    BlockHeader h;
    if (b < 1 || b >= file_blocks || ++steps > file_blocks ||
        !file_->read_at(block_offset(b), block, sizeof block)) {
      value->clear();
      return false;
    }
    decode_block_header(block, &h);
    if (h.length < 0 || h.length > kBlockDataSize) {
      value->clear();
      return false;
    }
    value->append(block + 12, static_cast<size_t>(h.length));
    b = h.next;
  }
  return true;
}

bool CompanionFile::write_chain(int32_t old_first, std::string_view data, int32_t* new_first) {
  if (!locks_.lock(0)) return false;
  bool ok = write_chain_locked(old_first, data, new_first);
  locks_.unlock(0);
  if (ok) dirty_ = true;
  return ok;
}

// Under the companion header lock, which serialises every allocation and release.
bool CompanionFile::write_chain_locked(int32_t old_first, std::string_view data,
                                       int32_t* new_first) {
  char header_bytes[kCompanionHeaderSize];
  if (!file_->read_at(0, header_bytes, sizeof header_bytes)) return false;
  CompanionHeader h;
  decode_companion_header(header_bytes, &h);
  if (h.block_count < 1) return false;
  const CompanionHeader before = h;
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

  // A free block is usable when it lies in the file, is free and not already taken;
  // a free chain that breaks that is left aside rather than followed into live data.
  auto usable_free_head = [&]() {
    BlockHeader fh;
    if (h.first_free == 0) return false;
    if (h.first_free >= 1 && h.first_free < h.block_count && taken.count(h.first_free) == 0 &&
        edits.peek(h.first_free, &fh) && fh.length == 0) {
      return true;
    }
    h.first_free = 0;
    h.free_count = 0;
    return false;
  };

  const size_t pieces = (data.size() + kBlockDataSize - 1) / kBlockDataSize;
  std::vector<int32_t> blocks(pieces);
  const size_t reused = std::min(pieces, old_chain.size());
  bool took_free = false;
  for (size_t k = 0; k < pieces; ++k) {
    if (k < reused) {
      blocks[k] = old_chain[k];
    } else if (usable_free_head()) {
      BlockHeader fh;
      edits.peek(h.first_free, &fh);
      blocks[k] = h.first_free;
      taken.insert(h.first_free);
      h.first_free = fh.next;
      h.free_count = std::max(0, h.free_count - 1);
      took_free = true;
    } else {
      if (h.block_count >= kMaxBlocks) return false;
      blocks[k] = h.block_count++;
    }
  }
  if (took_free && usable_free_head()) {
    char* head = edits.edit(h.first_free);
    if (head == nullptr) return false;
    put_i32(head, 0);
  }

  for (size_t k = 0; k < pieces; ++k) {
    char* image = edits.replace(blocks[k]);
    size_t start = k * kBlockDataSize;
    size_t length = std::min<size_t>(kBlockDataSize, data.size() - start);
    encode_block_header({k == 0 ? 0 : blocks[k - 1], k + 1 < pieces ? blocks[k + 1] : 0,
                         static_cast<int32_t>(length)},
                        image);
    std::memcpy(image + 12, data.data() + start, length);
  }

  // Leftover blocks of the old chain become the head of the free chain.
  const size_t leftover = old_chain.size() - reused;
  if (leftover > 0) {
    int32_t old_head = usable_free_head() ? h.first_free : 0;
    for (size_t j = reused; j < old_chain.size(); ++j) {
      char* image = edits.replace(old_chain[j]);
      encode_block_header({j == reused ? 0 : old_chain[j - 1],
                           j + 1 < old_chain.size() ? old_chain[j + 1] : old_head, 0},
                          image);
    }
    if (old_head != 0) {
      char* head = edits.edit(old_head);
      if (head == nullptr) return false;
      put_i32(head, old_chain.back());
    }
    h.first_free = old_chain[reused];
    h.free_count = static_cast<int32_t>(std::min<int64_t>(
        static_cast<int64_t>(h.free_count) + static_cast<int64_t>(leftover), h.block_count - 1));
  }

  // Free blocks at the end of the file are given back: unlinked, dropped, file cut.
  bool cut = false;
  while (leftover > 0 && h.block_count > 1) {
    int32_t last = h.block_count - 1;
    BlockHeader lh, ph, nh;
    if (!edits.peek(last, &lh) || lh.length != 0) break;
    bool linked = lh.previous == 0 ? h.first_free == last
                                   : lh.previous >= 1 && lh.previous < h.block_count &&
                                         edits.peek(lh.previous, &ph) && ph.next == last;
    if (linked && lh.next != 0) {
      linked = lh.next >= 1 && lh.next < h.block_count && edits.peek(lh.next, &nh) &&
               nh.previous == last;
    }
    if (!linked) break;
    if (lh.previous == 0) {
      h.first_free = lh.next;
    } else {
      char* prev = edits.edit(lh.previous);
      if (prev == nullptr) return false;
      put_i32(prev + 4, lh.next);
    }
    if (lh.next != 0) {
      char* next = edits.edit(lh.next);
      if (next == nullptr) return false;
      put_i32(next, lh.previous);
    }
    edits.drop(last);
    --h.block_count;
    h.free_count = std::max(0, h.free_count - 1);
    cut = true;
  }

  if (!edits.write_out()) return false;
  if (cut && !file_->truncate(block_offset(h.block_count))) return false;
  if (h.block_count != before.block_count || h.free_count != before.free_count ||
      h.first_free != before.first_free) {
    char words[12];
    put_i32(words, h.block_count);
    put_i32(words + 4, h.free_count);
    put_i32(words + 8, h.first_free);
    if (!file_->write_at(16, words, sizeof words)) return false;
  }
  *new_first = pieces == 0 ? 0 : blocks[0];
  return true;
}
