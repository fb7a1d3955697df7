#ifndef MOYAN_STORE_STORE_FORMAT_H_
#define MOYAN_STORE_STORE_FORMAT_H_

#include <cstdint>
#include <string>

// The bytes of a store file (Code.edb) and of its companion (Code.EDT).
//
// Store file: header (112) | field count (4) | field table (72 each) | records.
// Companion: 512-byte blocks; block 0 starts with the companion header, every other
// block holds one piece of a chain value (or is free).

inline constexpr int32_t kStoreVersion = 0x10000;
inline constexpr int64_t kStoreHeaderSize = 112;
inline constexpr int64_t kFieldEntrySize = 72;
inline constexpr int64_t kFieldTableStart = kStoreHeaderSize + 4;
inline constexpr int kFieldNameMax = 16;  // plus the terminating zero
inline constexpr int64_t kHeaderLockByte = 16;

inline constexpr int64_t kBlockSize = 512;
inline constexpr int64_t kBlockDataSize = 500;
inline constexpr int64_t kCompanionHeaderSize = 32;
// Block offsets stay below 2 GB, the whole-file lock's reach.
inline constexpr int32_t kMaxBlocks = 0x7FFFFFFF / kBlockSize;

// Field types as stored in the field table.
enum FieldType : int32_t {
  kTypeByte = 1,
  kTypeShort = 2,
  kTypeInteger = 3,
  kTypeLong = 4,
  kTypeFloat = 5,
  kTypeDouble = 6,
  kTypeTruth = 7,
  kTypeDateTime = 8,
  kTypeRoutine = 9,
  kTypeText = 10,
  kTypeBytes = 11,
  kTypeLongText = 12,
};

// Date-times read outside this range (days) are clamped to it.
inline constexpr double kMinDateTime = -657434;
inline constexpr double kMaxDateTime = 2958465;

struct StoreHeader {
  char tag[4];             // "WEDB"
  int32_t version;         // at most kStoreVersion
  double created;          // offset 8: the creation time, days as a date-time field holds
                           // them; reserved to readers: files from elsewhere may hold
                           // anything there, and nothing checks it
  int32_t record_count;    // offset 16; its first byte is the header lock byte
  int32_t next_record_id;  // offset 20
  int32_t record_size;     // offset 24
                           // 84 reserved bytes
};

struct FieldEntry {
  std::string name;  // 0..16: zero-terminated within 17 bytes (3 reserved bytes follow)
  int32_t type;      // 20
  int32_t offset;    // 24: of the field's bytes inside a record
  int32_t width;     // 28: text fields only; 32..71 reserved
};

struct CompanionHeader {
  char tag[4];          // "WEDT"
  int32_t version;      // equal to the store file's; 8 reserved bytes follow
  int32_t block_count;  // offset 16: block 0 included
  int32_t free_count;   // offset 20
  int32_t first_free;   // offset 24: 0 when none; 4 reserved bytes follow
};

struct BlockHeader {
  int32_t previous;  // 0: previous block of the chain, 0 for the first
  int32_t next;      // 4: next block of the chain, 0 for the last
  int32_t length;    // 8: data bytes used, 0..500; 0 marks a free block
};                   // 12: 500 data bytes, zero after the used ones

void decode_store_header(const char* p, StoreHeader* h);
void encode_store_header(const StoreHeader& h, char* p);  // leaves the reserved bytes alone
// False when the name has no zero byte within its 17 bytes.
bool decode_field_entry(const char* p, FieldEntry* e);
void encode_field_entry(const FieldEntry& e, char* p);  // p: 72 zeroed bytes
void decode_companion_header(const char* p, CompanionHeader* h);
void encode_companion_header(const CompanionHeader& h, char* p);  // leaves reserved bytes
void decode_block_header(const char* p, BlockHeader* h);
void encode_block_header(const BlockHeader& h, char* p);

// Bytes a field of this type takes in a record; texts take their width.
int64_t field_byte_count(int32_t type, int64_t width);

#endif  // MOYAN_STORE_STORE_FORMAT_H_
