#include "store/store_format.h"

#include <algorithm>
#include <cstring>

#include "store/little_endian.h"

void decode_store_header(const char* p, StoreHeader* h) {
  std::memcpy(h->tag, p, 4);
  h->version = get_i32(p + 4);
  h->created = get_f64(p + 8);
  h->record_count = get_i32(p + 16);
  h->next_record_id = get_i32(p + 20);
  h->record_size = get_i32(p + 24);
}

void encode_store_header(const StoreHeader& h, char* p) {
  std::memcpy(p, h.tag, 4);
  put_i32(p + 4, h.version);
  put_f64(p + 8, h.created);
  put_i32(p + 16, h.record_count);
  put_i32(p + 20, h.next_record_id);
  put_i32(p + 24, h.record_size);
}

bool decode_field_entry(const char* p, FieldEntry* e) {
  const void* zero = std::memchr(p, 0, kFieldNameMax + 1);
  if (zero == nullptr) return false;
  e->name.assign(p, static_cast<const char*>(zero) - p);
  e->type = get_i32(p + 20);
  e->offset = get_i32(p + 24);
  e->width = get_i32(p + 28);
  return true;
}

void encode_field_entry(const FieldEntry& e, char* p) {
  // The entry is zeroed: a name shorter than 17 bytes keeps its terminating zero.
  std::copy_n(e.name.data(), std::min<size_t>(e.name.size(), kFieldNameMax), p);
  put_i32(p + 20, e.type);
  put_i32(p + 24, e.offset);
  put_i32(p + 28, e.width);
}

void decode_companion_header(const char* p, CompanionHeader* h) {
  std::memcpy(h->tag, p, 4);
  h->version = get_i32(p + 4);
  h->block_count = get_i32(p + 16);
  h->free_count = get_i32(p + 20);
  h->first_free = get_i32(p + 24);
}

void encode_companion_header(const CompanionHeader& h, char* p) {
  std::memcpy(p, h.tag, 4);
  put_i32(p + 4, h.version);
  put_i32(p + 16, h.block_count);
  put_i32(p + 20, h.free_count);
  put_i32(p + 24, h.first_free);
}

void decode_block_header(const char* p, BlockHeader* h) {
  h->previous = get_i32(p);
  h->next = get_i32(p + 4);
  h->length = get_i32(p + 8);
}

void encode_block_header(const BlockHeader& h, char* p) {
  put_i32(p, h.previous);
  put_i32(p + 4, h.next);
  put_i32(p + 8, h.length);
}

int64_t field_byte_count(int32_t type, int64_t width) {
  switch (type) {
    case kTypeByte:
    case kTypeTruth:
      return 1;
    case kTypeShort:
      return 2;
    case kTypeInteger:
    case kTypeFloat:
    case kTypeRoutine:
    case kTypeBytes:
    case kTypeLongText:
      return 4;
    case kTypeLong:
    case kTypeDouble:
    case kTypeDateTime:
      return 8;
    case kTypeText:
      return width;
    default:
      return 0;
  }
}
