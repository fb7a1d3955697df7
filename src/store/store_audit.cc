#include "store/store_audit.h"

#include <algorithm>

#include "store/little_endian.h"

namespace {

constexpr int64_t kChunkBytes = 1 << 20;
constexpr int64_t kNobody = -1;
constexpr int64_t kFreeChain = -2;

std::string number(int64_t n) {
  return std::to_string(n);
}

class ChainWalker {
 public:
  ChainWalker(StoreFile* store, int32_t blocks, StoreAudit* audit)
      : store_(store), companion_(store->companion()), owners_(blocks, kNobody), audit_(audit) {}

  std::string owner_name(int64_t owner) const {
    if (owner == kFreeChain) return "the free chain";
    const auto& fields = store_->fields();
    int64_t record = owner / static_cast<int64_t>(fields.size());
    return "record " + number(record + 1) + " " + fields[owner % fields.size()].name;
  }

  // Walks one chain for owner; free says whether its blocks must be free (the free chain)
  // or in use (a value).
  Status walk(int32_t first, int64_t owner, bool free) {
    const int32_t blocks = static_cast<int32_t>(owners_.size());
    int32_t count = 0;
    for (int32_t b = first; b != 0;) {
      auto report = [&](AuditFinding::Kind kind, const std::string& what) {
        audit_->findings.push_back({kind, owner_name(owner) + ": " + what});
      };
      if (b < 1 || b >= blocks) {
        report(AuditFinding::Kind::kPastEnd,
               "block " + number(b) + " lies past the end (" + number(blocks) + " blocks)");
        break;
      }
      if (owners_[b] == owner) {
        report(AuditFinding::Kind::kLoop, "chain loops at block " + number(b));
        break;
      }
      if (owners_[b] != kNobody) {
        report(AuditFinding::Kind::kReachedTwice,
               "block " + number(b) + " is also reached from " + owner_name(owners_[b]));
        break;
      }
      BlockHeader h;
      Status read = companion_->read_block_header(b, &h);
      if (!read) return read;
      // A free block is one the free chain reaches and no value does (values are walked
      // first), whatever its length word: other writers leave free blocks' lengths as
      // they were.
      if (!free && (h.length < 1 || h.length > kBlockDataSize)) {
        report(AuditFinding::Kind::kBadBlock,
               "block " + number(b) + " is free or malformed (length " + number(h.length) + ")");
        break;
      }
      owners_[b] = owner;
      ++count;
      b = h.next;
    }
    (free ? audit_->free_chain_blocks : audit_->value_blocks) += count;
    return Status::ok();
  }

  void count_leaks() {
    int32_t first = 0;
    for (size_t b = 1; b < owners_.size(); ++b) {
      if (owners_[b] != kNobody) continue;
      if (audit_->leaked_blocks++ == 0) first = static_cast<int32_t>(b);
    }
    if (audit_->leaked_blocks > 0) {
      audit_->findings.push_back(
          {AuditFinding::Kind::kLeaked, number(audit_->leaked_blocks) +
                                            " blocks reached from nowhere (the first: block " +
                                            number(first) + ")"});
    }
  }

 private:
  StoreFile* store_;
  CompanionFile* companion_;
  std::vector<int64_t> owners_;  // per block: record × fields + field, or a marker
  StoreAudit* audit_;
};

}  // namespace

Status audit_store(StoreFile* store, StoreAudit* audit) {
  *audit = StoreAudit();
  int32_t header_count = 0;
  Status status = store->read_count(&header_count);
  if (!status) return status;
  int64_t whole = 0;
  status = store->whole_records(&whole);
  if (!status) return status;
  const int64_t records = std::min<int64_t>(header_count, whole);
  audit->records = records;
  CompanionFile* companion = store->companion();
  if (companion == nullptr) return Status::ok();

  // The header as it stands: a free chain that starts past the end is a finding even
  // where opening would drop it.
  CompanionHeader header;
  int32_t blocks = 0;
  status = companion->read_header(&header, false);
  if (status) status = companion->block_limit(&blocks);
  if (!status) return status;
  audit->blocks = blocks;
  ChainWalker walker(store, blocks, audit);

  // References are read a chunk of records at a time, or one by one where a record is
  // larger than a chunk (the buffer never grows past a chunk).
  const auto& fields = store->fields();
  const int64_t size = store->record_size();
  const bool by_chunk = size <= kChunkBytes;
  const int64_t chunk = by_chunk ? kChunkBytes / size : 1;
  std::vector<char> buffer;
  for (int64_t first = 0; first < records; first += chunk) {
    const int64_t n = std::min(chunk, records - first);
    if (by_chunk) {
      buffer.resize(static_cast<size_t>(n * size));
      status = store->read_records(first, n, buffer.data());
      if (!status) return status;
    }
    for (int64_t i = 0; i < n; ++i) {
      for (size_t f = 0; f < fields.size(); ++f) {
        if (!is_chain_type(fields[f].type) || !fields[f].inside_record) continue;
        int32_t reference = 0;
        if (by_chunk) {
          reference = get_i32(buffer.data() + i * size + fields[f].offset);
        } else {
          status = store->read_reference(first + i, fields[f], &reference);
          if (!status) return status;
        }
        int64_t owner = (first + i) * static_cast<int64_t>(fields.size()) + static_cast<int64_t>(f);
        status = walker.walk(reference, owner, false);
        if (!status) return status;
      }
    }
  }
  status = walker.walk(header.first_free, kFreeChain, true);
  if (!status) return status;
  if (header.free_count != audit->free_chain_blocks) {
    audit->findings.push_back(
        {AuditFinding::Kind::kFreeCount, "the header's free count is " + number(header.free_count) +
                                             ", the free chain holds " +
                                             number(audit->free_chain_blocks) + " blocks"});
  }
  walker.count_leaks();
  return Status::ok();
}
