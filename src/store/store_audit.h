#ifndef MOYAN_STORE_STORE_AUDIT_H_
#define MOYAN_STORE_STORE_AUDIT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "store/status.h"
#include "store/store_file.h"

// A walk of every value's chain and of the free chain of an opened store, for inspection
// (codelib check) and for tests: it changes nothing.
struct AuditFinding {
  enum class Kind {
    kLoop,          // a chain comes back to one of its own blocks
    kPastEnd,       // a chain names a block outside the file
    kBadBlock,      // a value's block is free or has a length over 500
    kReachedTwice,  // one block in two values, or in a value and on the free chain
    kLeaked,        // blocks neither in a value nor on the free chain (a crash's lost space)
    kFreeCount,     // the header's free count differs from the free chain's length
  };
  Kind kind;
  std::string text;  // one sentence; field names as the file holds them (GBK)

  // Lost blocks and a free count that differs waste space, as a crash may leave them; the
  // store still reads and writes every value soundly.
  bool harmless() const { return kind == Kind::kLeaked || kind == Kind::kFreeCount; }
};

struct StoreAudit {
  int64_t records = 0;
  int32_t blocks = 0;  // within the file and the header's count, block 0 included
  int32_t value_blocks = 0;
  int32_t free_chain_blocks = 0;
  int32_t leaked_blocks = 0;
  std::vector<AuditFinding> findings;
  // No finding at all.
  bool clean() const { return findings.empty(); }
  // Nothing but harmless findings.
  bool sound() const {
    for (const AuditFinding& finding : findings) {
      if (!finding.harmless()) return false;
    }
    return true;
  }
};

Status audit_store(StoreFile* store, StoreAudit* audit);

#endif  // MOYAN_STORE_STORE_AUDIT_H_
