#include "net/download_body.h"

#include <algorithm>

bool DownloadBody::expect(std::optional<uint64_t> declared_length) {
  if (too_large_) return false;
  if (!declared_length) return true;
  if (*declared_length > bound_) {
    give_up();
    return false;
  }
  // Room for all of it at once: a declared body never moves while it comes in.
  if (blocks_.empty() && *declared_length > 0) {
    blocks_.emplace_back().reserve(static_cast<size_t>(*declared_length));
  }
  return true;
}

bool DownloadBody::add(const void* data, size_t size) {
  if (too_large_) return false;
  if (size > bound_ - size_) {
    give_up();
    return false;
  }
  const char* bytes = static_cast<const char*>(data);
  size_ += size;
  while (size > 0) {
    if (blocks_.empty()) blocks_.emplace_back();
    std::string* block = &blocks_.back();
    size_t room = block->capacity() - block->size();
    if (room == 0) {
      if (blocks_.size() == 1 && block->size() < kBlockBytes) {
        // The first block grows with what comes: most bodies are pages of a few kilobytes.
        room = kBlockBytes - block->size();
      } else {
        // A full block stays where it is; the next is made whole at once.
        block = &blocks_.emplace_back();
        block->reserve(kBlockBytes);
        room = block->capacity();
      }
    }
    const size_t part = std::min(size, room);
    block->append(bytes, part);
    bytes += part;
    size -= part;
  }
  return true;
}

void DownloadBody::give_up() {
  too_large_ = true;
  size_ = 0;
  std::vector<std::string>().swap(blocks_);
}

ByteSet DownloadBody::take() {
  if (too_large_ || blocks_.empty()) return ByteSet();
  if (blocks_.size() == 1) return ByteSet(std::move(blocks_.front()));
  std::string whole;
  whole.reserve(size_);
  for (std::string& block : blocks_) {
    whole += block;
    std::string().swap(block);  // each block goes as soon as it is copied
  }
  blocks_.clear();
  size_ = 0;
  return ByteSet(std::move(whole));
}
