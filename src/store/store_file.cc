#include "store/store_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "store/little_endian.h"
#include "store/store_path.h"

namespace {

constexpr int64_t kWholeFile = 0x80000000LL;  // bytes 0 to 0x7FFFFFFF
constexpr char kStoreTag[4] = {'W', 'E', 'D', 'B'};
constexpr size_t kZeroChunk = size_t{64} * 1024;

bool is_chain_type(int32_t type) {
  return type == kTypeBytes || type == kTypeLongText;
}

std::string text_up_to_zero(const char* bytes, size_t size) {
  const void* zero = std::memchr(bytes, 0, size);
  return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}

}  // namespace

FieldValue empty_field_value(int32_t type) {
  switch (type) {
    case kTypeFloat:
    case kTypeDouble:
      return FieldValue::of_number(0);
    case kTypeTruth:
      return FieldValue::of_truth(false);
    case kTypeDateTime:
      return FieldValue::of_date_time(0);
    case kTypeText:
    case kTypeLongText:
      return FieldValue::of_text(std::string());
    case kTypeBytes:
      return FieldValue::of_bytes(ByteSet());
    default:
      return FieldValue::of_integer(0);
  }
}

FieldValue decode_field_bytes(int32_t type, const char* p, int64_t byte_count) {
  switch (type) {
    case kTypeByte:
      return FieldValue::of_integer(static_cast<uint8_t>(p[0]));
    case kTypeShort:
      return FieldValue::of_integer(get_i16(p));
    case kTypeInteger:
    case kTypeRoutine:
      return FieldValue::of_integer(get_i32(p));
    case kTypeLong:
      return FieldValue::of_integer(get_i64(p));
    case kTypeFloat:
      return FieldValue::of_number(get_f32(p));
    case kTypeDouble:
      return FieldValue::of_number(get_f64(p));
    case kTypeTruth:
      return FieldValue::of_truth(p[0] != 0);
    case kTypeDateTime: {
      double days = get_f64(p);
      // Not a number counts as the earliest date, like any value below the range.
      if (std::isnan(days)) days = kMinDateTime;
      return FieldValue::of_date_time(std::clamp(days, kMinDateTime, kMaxDateTime));
    }
    case kTypeText:
      return FieldValue::of_text(text_up_to_zero(p, static_cast<size_t>(byte_count)));
    default:
      return empty_field_value(type);
  }
}

std::unique_ptr<StoreFile> StoreFile::open(const std::string& path, std::string* failed_check) {
  failed_check->clear();
  std::unique_ptr<PlatformFile> file = PlatformFile::open_existing(path);
  if (!file) {
    *failed_check = "file missing";
    return nullptr;
  }
  std::unique_ptr<StoreFile> store(new StoreFile(std::move(file)));
  if (!store->locks_.lock(0, kWholeFile)) {
    *failed_check = "file locked";
    return nullptr;
  }
  *failed_check = store->check_and_repair(path);
  store->locks_.unlock(0, kWholeFile);
  if (!failed_check->empty()) return nullptr;
  return store;
}

StoreFile::~StoreFile() {
  flush_if_written();
}

// Under the whole-file lock. Returns the failed check, empty when the file is sound.
std::string StoreFile::check_and_repair(const std::string& path) {
  int64_t size = file_->size();
  char bytes[kStoreHeaderSize];
  if (size < kStoreHeaderSize || !file_->read_at(0, bytes, sizeof bytes)) return "short header";
  StoreHeader h;
  decode_store_header(bytes, &h);
  if (std::memcmp(h.tag, kStoreTag, 4) != 0) return "bad tag";
  if (h.version > kStoreVersion) return "version";
  if (h.record_size < 1) return "record size";
  if (h.record_count < 0) return "record count";
  if (h.next_record_id < 1) return "next record id";
  version_ = h.version;
  record_size_ = h.record_size;

  char count_bytes[4];
  if (size < kFieldTableStart || !file_->read_at(kStoreHeaderSize, count_bytes, 4)) {
    return "field count";
  }
  int32_t field_count = get_i32(count_bytes);
  if (field_count < 1) return "field count";
  data_start_ = kFieldTableStart + kFieldEntrySize * field_count;
  // The table must lie in the file before any of it is read or kept.
  if (data_start_ > size) return "short field table";
  std::string table(static_cast<size_t>(kFieldEntrySize * field_count), '\0');
  if (!file_->read_at(kFieldTableStart, table.data(), table.size())) return "short field table";
  bool has_chain = false;
  for (int32_t i = 0; i < field_count; ++i) {
    FieldEntry e;
    if (!decode_field_entry(table.data() + kFieldEntrySize * i, &e)) return "field name";
    if (e.offset < 0) return "field offset";
    if (e.type < kTypeByte || e.type > kTypeLongText) return "field type";
    if (e.type == kTypeText && e.width < 1) return "field width";
    FieldInfo info;
    info.name = e.name;
    info.type = e.type;
    info.offset = e.offset;
    info.byte_count = field_byte_count(e.type, e.width);
    info.inside_record = info.offset + info.byte_count <= record_size_;
    fields_.push_back(info);
    has_chain = has_chain || is_chain_type(e.type);
  }

  // A file cut inside its records keeps its whole records.
  int64_t whole = (size - data_start_) / record_size_;
  int64_t count = h.record_count;
  if (whole < count) {
    count = whole;
    put_i32(count_bytes, static_cast<int32_t>(count));
    if (!file_->write_at(kHeaderLockByte, count_bytes, 4)) return "record count repair";
  }
  int64_t end = record_offset(count);
  if (size > end && !file_->truncate(end)) return "record count repair";

  if (has_chain) {
    std::string failed;
    companion_ = CompanionFile::open(companion_file_path(path), version_, &failed);
    if (!companion_) return failed;
  }
  return std::string();
}

const FieldInfo* StoreFile::find_field(const std::string& name) const {
  for (const FieldInfo& field : fields_) {
    if (equal_ignoring_ascii_case(field.name, name)) return &field;
  }
  return nullptr;
}

bool StoreFile::read_count(int32_t* count) {
  if (!locks_.lock(kHeaderLockByte)) return false;
  char bytes[4];
  bool ok = file_->read_at(kHeaderLockByte, bytes, 4);
  locks_.unlock(kHeaderLockByte);
  if (!ok) return false;
  *count = std::max(0, get_i32(bytes));
  return true;
}

bool StoreFile::append_blank(int64_t* index) {
  if (!locks_.lock(kHeaderLockByte)) return false;
  char words[8];
  bool ok = file_->read_at(kHeaderLockByte, words, sizeof words);
  int32_t n = get_i32(words);
  int32_t id = std::max(1, get_i32(words + 4));
  // A count or id at its limit can't grow; a negative count is no place to write.
  ok = ok && n >= 0 && n < INT32_MAX && id < INT32_MAX;
  int64_t start = ok ? record_offset(n) : 0;
  // Record n lies past the count until the count below is written, and every cursor comes
  // from a count (or an append), so no other opener can address it: except a cursor left
  // on record 0 of an empty store. Only that record needs its lock; each lock is a server
  // round trip under Wine.
  bool record_locked = ok && n == 0 && locks_.lock(start);
  ok = ok && (n > 0 || record_locked) && file_->size() >= start;
  if (ok) {
    std::string zeros(static_cast<size_t>(std::min<int64_t>(record_size_, kZeroChunk)), '\0');
    char id_bytes[4];
    put_i32(id_bytes, id);
    std::memcpy(zeros.data(), id_bytes, std::min<size_t>(4, zeros.size()));
    for (int64_t done = 0; ok && done < record_size_;) {
      size_t piece = static_cast<size_t>(std::min<int64_t>(record_size_ - done, zeros.size()));
      ok = file_->write_at(start + done, zeros.data(), piece);
      if (done == 0) std::memset(zeros.data(), 0, std::min<size_t>(4, zeros.size()));
      done += static_cast<int64_t>(piece);
    }
  }
  if (ok) {
    put_i32(words, n + 1);
    put_i32(words + 4, id + 1);
    ok = file_->write_at(kHeaderLockByte, words, sizeof words);
  }
  if (record_locked) locks_.unlock(start);
  locks_.unlock(kHeaderLockByte);
  if (ok) {
    written_ = true;
    *index = n;
  }
  return ok;
}

bool StoreFile::read_records(int64_t first, int64_t n, char* buffer) {
  if (first < 0 || n < 1) return false;
  int64_t lock_start = record_offset(first);
  int64_t lock_length = (n - 1) * record_size_ + 1;
  if (!locks_.lock(lock_start, lock_length)) return false;
  bool ok = file_->read_at(lock_start, buffer, static_cast<size_t>(n * record_size_));
  locks_.unlock(lock_start, lock_length);
  return ok;
}

bool StoreFile::record_exists(int64_t index) {
  return index >= 0 && record_offset(index) + record_size_ <= file_->size();
}

FieldValue StoreFile::read_field(int64_t index, const FieldInfo& field) {
  if (!field.inside_record) return empty_field_value(field.type);
  if (is_chain_type(field.type)) return read_chain_value(index, field);
  if (index < 0 || !locks_.lock(record_offset(index))) return empty_field_value(field.type);
  std::string bytes(static_cast<size_t>(field.byte_count), '\0');
  bool ok = record_exists(index) &&
            file_->read_at(record_offset(index) + field.offset, bytes.data(), bytes.size());
  locks_.unlock(record_offset(index));
  if (!ok) return empty_field_value(field.type);
  return decode_field_bytes(field.type, bytes.data(), field.byte_count);
}

FieldValue StoreFile::field_from_record(int64_t index, const FieldInfo& field, const char* record) {
  if (!field.inside_record) return empty_field_value(field.type);
  if (is_chain_type(field.type)) return read_chain_value(index, field);
  return decode_field_bytes(field.type, record + field.offset, field.byte_count);
}

FieldValue StoreFile::read_chain_value(int64_t index, const FieldInfo& field) {
  FieldValue empty = empty_field_value(field.type);
  if (!companion_ || index < 0 || !locks_.lock(record_offset(index))) return empty;
  char reference[4];
  ByteSet value;
  bool ok = record_exists(index) &&
            file_->read_at(record_offset(index) + field.offset, reference, 4) &&
            companion_->read_chain(get_i32(reference), &value);
  locks_.unlock(record_offset(index));
  if (!ok) return empty;
  if (field.type == kTypeBytes) return FieldValue::of_bytes(std::move(value));
  return FieldValue::of_text(text_up_to_zero(value.data(), value.size()));
}

bool StoreFile::write_text(int64_t index, const FieldInfo& field, std::string_view text) {
  if (field.type == kTypeLongText) return write_chain_value(index, field, text);
  if (field.type != kTypeText || !field.inside_record || index < 0) return false;
  // Cut to the width byte-wise, or padded with zero bytes.
  std::string bytes(text.substr(0, static_cast<size_t>(field.byte_count)));
  bytes.resize(static_cast<size_t>(field.byte_count), '\0');
  if (!locks_.lock(record_offset(index))) return false;
  bool ok = record_exists(index) &&
            file_->write_at(record_offset(index) + field.offset, bytes.data(), bytes.size());
  locks_.unlock(record_offset(index));
  written_ = written_ || ok;
  return ok;
}

bool StoreFile::write_bytes(int64_t index, const FieldInfo& field, std::string_view bytes) {
  if (field.type != kTypeBytes) return false;
  return write_chain_value(index, field, bytes);
}

bool StoreFile::write_chain_value(int64_t index, const FieldInfo& field, std::string_view data) {
  if (!companion_ || !field.inside_record || index < 0) return false;
  if (!locks_.lock(record_offset(index))) return false;
  char reference[4];
  int32_t first = 0;
  bool ok = record_exists(index) &&
            file_->read_at(record_offset(index) + field.offset, reference, 4) &&
            companion_->write_chain(get_i32(reference), data, &first);
  if (ok && first != get_i32(reference)) {
    put_i32(reference, first);
    ok = file_->write_at(record_offset(index) + field.offset, reference, 4);
  }
  locks_.unlock(record_offset(index));
  written_ = written_ || ok;
  return ok;
}

void StoreFile::flush_if_written() {
  if (written_) file_->flush();
  if (companion_ && companion_->dirty()) companion_->file().flush();
  written_ = false;
}
