#include "store/store_file.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "store/little_endian.h"
#include "store/store_path.h"

namespace {

constexpr int64_t kWholeFile = 0x80000000LL;  // bytes 0 to 0x7FFFFFFF
constexpr char kStoreTag[4] = {'W', 'E', 'D', 'B'};
// Zero bytes are written in pieces of at most this size, so a record or field of a
// hostile width costs no more memory than this.
constexpr size_t kZeroChunk = size_t{64} * 1024;
// A whole new record is put together in memory up to this size and written in one call.
constexpr int64_t kRecordImageMax = 64 * 1024;

std::string number(int64_t n) {
  return std::to_string(n);
}

}  // namespace

bool is_chain_type(int32_t type) {
  return type == kTypeBytes || type == kTypeLongText;
}

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
    case kTypeText: {
      const void* zero = std::memchr(p, 0, static_cast<size_t>(byte_count));
      return FieldValue::of_text(
          p, zero ? static_cast<const char*>(zero) - p : static_cast<size_t>(byte_count));
    }
    default:
      return empty_field_value(type);
  }
}

std::string_view text_up_to_zero(const char* bytes, size_t size) {
  const void* zero = std::memchr(bytes, 0, size);
  return {bytes, zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : size};
}

std::string stored_text(const FieldInfo& field, std::string_view text) {
  if (field.type == kTypeText) text = text.substr(0, static_cast<size_t>(field.byte_count));
  if (field.type != kTypeText && field.type != kTypeLongText) return std::string(text);
  return std::string(text_up_to_zero(text.data(), text.size()));
}

Status StoreFile::open(const std::string& path, FileAccess access,
                       std::unique_ptr<StoreFile>* out) {
  std::unique_ptr<PlatformFile> file;
  Status opened = open_existing_file(path, access, &file);
  if (!opened) return opened;
  std::unique_ptr<StoreFile> store(new StoreFile(std::move(file), path, access));
  ByteLock whole(&store->locks_, 0, kWholeFile);
  if (!whole.held()) return Status::locked(path);
  Status checked = store->check_and_repair();
  if (!checked) return checked;
  whole.release();
  *out = std::move(store);
  return Status::ok();
}

StoreFile::~StoreFile() {
  flush_if_written();
}

// Under the whole-file lock.
Status StoreFile::check_and_repair() {
  int64_t size = 0;
  Status status = file_->size(&size);
  if (!status) return status;
  char bytes[kStoreHeaderSize];
  if (size < kStoreHeaderSize) return Status::corrupt("short header");
  status = file_->read_at(0, bytes, sizeof bytes);
  if (!status) return status;
  StoreHeader h;
  decode_store_header(bytes, &h);
  if (std::memcmp(h.tag, kStoreTag, 4) != 0) return Status::corrupt("bad tag");
  if (h.version > kStoreVersion) return Status::corrupt("version");
  if (h.record_size < 1) return Status::corrupt("record size");
  if (h.record_count < 0) return Status::corrupt("record count");
  if (h.next_record_id < 1) return Status::corrupt("next record id");
  version_ = h.version;
  created_ = h.created;
  record_size_ = h.record_size;

  char count_bytes[4];
  if (size < kFieldTableStart) return Status::corrupt("field count");
  status = file_->read_at(kStoreHeaderSize, count_bytes, 4);
  if (!status) return status;
  int32_t field_count = get_i32(count_bytes);
  if (field_count < 1) return Status::corrupt("field count");
  data_start_ = kFieldTableStart + kFieldEntrySize * field_count;
  // The table must lie in the file before any of it is read or kept.
  if (data_start_ > size) return Status::corrupt("short field table");
  std::string table(static_cast<size_t>(kFieldEntrySize * field_count), '\0');
  status = file_->read_at(kFieldTableStart, table.data(), table.size());
  if (!status) return status;
  bool has_chain = false;
  for (int32_t i = 0; i < field_count; ++i) {
    FieldEntry e;
    if (!decode_field_entry(table.data() + kFieldEntrySize * i, &e)) {
      return Status::corrupt("field name");
    }
    if (e.offset < 0) return Status::corrupt("field offset");
    if (e.type < kTypeByte || e.type > kTypeLongText) return Status::corrupt("field type");
    if (e.type == kTypeText && e.width < 1) return Status::corrupt("field width");
    FieldInfo info;
    info.name = e.name;
    info.type = e.type;
    info.offset = e.offset;
    info.byte_count = field_byte_count(e.type, e.width);
    info.inside_record = info.offset + info.byte_count <= record_size_;
    fields_.push_back(info);
    has_chain = has_chain || is_chain_type(e.type);
  }

  // A file cut inside its records keeps its whole records; bytes after the last counted
  // record (part of one, or a record whose append never finished) are cut off.
  const bool repair = access_ == FileAccess::kReadWrite;
  int64_t whole = (size - data_start_) / record_size_;
  int64_t count = h.record_count;
  if (whole < count) {
    repairs_.push_back("record count " + number(count) + " -> " + number(whole) +
                       " (the file holds " + number(whole) + " whole records)");
    count = whole;
    put_i32(count_bytes, static_cast<int32_t>(count));
    if (repair) {
      status = file_->write_at(kHeaderLockByte, count_bytes, 4);
      if (!status) return status;
      written_ = true;
    }
  }
  int64_t end = record_offset(count);
  if (size > end) {
    repairs_.push_back("file cut to " + number(end) + " bytes (" + number(size - end) +
                       " bytes after the last record)");
    if (repair) {
      status = file_->truncate(end);
      if (!status) return status;
      written_ = true;
    }
  }
  opened_count_ = count;

  if (has_chain) {
    status =
        CompanionFile::open(companion_file_path(path_), version_, access_, &repairs_, &companion_);
    if (!status) return status;
    companion_->set_value_references(
        [this](std::vector<int32_t>* firsts) { return chain_references(firsts); });
  }
  return Status::ok();
}

// Every chain reference of every counted record. Called by a chain write under the
// companion header lock, which every change of a reference is made under, so they stand
// still while they are read; read without record locks (a record's lock guards its other
// fields, and this may be called while the caller holds one).
Status StoreFile::chain_references(std::vector<int32_t>* firsts) {
  char count_bytes[4];
  Status status = file_->read_at(kHeaderLockByte, count_bytes, 4);
  int64_t whole = 0;
  if (status) status = whole_records(&whole);
  if (!status) return status;
  const int64_t count = std::min<int64_t>(std::max(0, get_i32(count_bytes)), whole);
  std::vector<const FieldInfo*> chains;
  for (const FieldInfo& field : fields_) {
    if (is_chain_type(field.type) && field.inside_record) chains.push_back(&field);
  }
  if (chains.empty()) return Status::ok();
  // Records a chunk at a time; of a record larger than a chunk, only its references.
  const bool by_chunk = record_size_ <= kScanChunkBytes;
  const int64_t chunk = by_chunk ? kScanChunkBytes / record_size_ : 1;
  std::string records;
  for (int64_t first = 0; first < count; first += chunk) {
    const int64_t n = std::min(chunk, count - first);
    if (by_chunk) {
      records.resize(static_cast<size_t>(n * record_size_));
      status = file_->read_at(record_offset(first), records.data(), records.size());
      if (!status) return status;
    }
    for (int64_t i = 0; i < n; ++i) {
      for (const FieldInfo* field : chains) {
        char reference[4];
        if (by_chunk) {
          std::memcpy(reference, records.data() + i * record_size_ + field->offset, 4);
        } else {
          status = file_->read_at(record_offset(first + i) + field->offset, reference, 4);
          if (!status) return status;
        }
        firsts->push_back(get_i32(reference));
      }
    }
  }
  return Status::ok();
}

const FieldInfo* StoreFile::find_field(std::string_view name) const {
  // Callers name fields as the file does: the exact bytes first, cheaply (a scan looks a
  // field up for every record it reads).
  for (const FieldInfo& field : fields_) {
    if (field.name == name) return &field;
  }
  for (const FieldInfo& field : fields_) {
    if (equal_ignoring_ascii_case(field.name, name)) return &field;
  }
  return nullptr;
}

Status StoreFile::missing_record(int64_t index) const {
  return Status::not_found("record " + number(index + 1) + " of " + path_);
}

Status StoreFile::whole_records(int64_t* count) {
  int64_t size = 0;
  Status sized = file_->size(&size);
  if (sized) *count = std::max<int64_t>(0, (size - data_start_) / record_size_);
  return sized;
}

bool StoreFile::record_exists(int64_t index) {
  int64_t size = 0;
  return index >= 0 && file_->size(&size).is_ok() && record_offset(index) + record_size_ <= size;
}

Status StoreFile::read_count(int32_t* count) {
  ByteLock header(&locks_, kHeaderLockByte);
  if (!header.held()) return Status::locked("the record count of " + path_);
  char bytes[4];
  Status read = file_->read_at(kHeaderLockByte, bytes, 4);
  if (!read) return read;
  *count = std::max(0, get_i32(bytes));
  return Status::ok();
}

// A record of zero bytes whose first 4 bytes hold id, at start, past the record count.
Status StoreFile::write_blank_record(int64_t start, int32_t id) {
  char id_bytes[4];
  put_i32(id_bytes, id);
  const size_t id_size = static_cast<size_t>(std::min<int64_t>(4, record_size_));
  int64_t size = 0;
  Status status = file_->size(&size);
  if (!status) return status;
  if (record_size_ > static_cast<int64_t>(kZeroChunk) && size <= start) {
    // A large record at the end of the file: lengthening the file gives its zero bytes.
    status = file_->truncate(start + record_size_);
    return status ? file_->write_at(start, id_bytes, id_size) : status;
  }
  std::string zeros(static_cast<size_t>(std::min<int64_t>(record_size_, kZeroChunk)), '\0');
  std::memcpy(zeros.data(), id_bytes, id_size);
  for (int64_t done = 0; done < record_size_;) {
    size_t piece = static_cast<size_t>(std::min<int64_t>(record_size_ - done, zeros.size()));
    status = file_->write_at(start + done, zeros.data(), piece);
    if (!status) return status;
    if (done == 0) std::memset(zeros.data(), 0, id_size);
    done += static_cast<int64_t>(piece);
  }
  return Status::ok();
}

// Under the header lock: raises largest_id_ to cover the ids of records ids_read_ .. count - 1,
// read a chunk at a time under the lock of their first bytes (the ids of records this store
// appended itself were noted when it appended them). Only the records appended since the
// last look are read, so an append reads the whole file once per opening at most.
Status StoreFile::catch_up_ids(int64_t count) {
  if (count < ids_read_) {
    // Fewer records than were seen: another program took some away. Look at all again.
    ids_read_ = 0;
    largest_id_ = 0;
  }
  const int64_t id_bytes = std::min<int64_t>(4, record_size_);
  const int64_t chunk = std::max<int64_t>(1, kScanChunkBytes / record_size_);
  std::string records;
  while (ids_read_ < count) {
    const int64_t n = std::min(chunk, count - ids_read_);
    char id[4] = {0, 0, 0, 0};
    if (n == 1) {
      ByteLock lock(&locks_, record_offset(ids_read_));
      if (!lock.held()) return Status::locked(path_);
      Status read = file_->read_at(record_offset(ids_read_), id, static_cast<size_t>(id_bytes));
      if (!read) return read;
      largest_id_ = std::max(largest_id_, get_i32(id));
    } else {
      records.resize(static_cast<size_t>(n * record_size_));
      Status read = read_records(ids_read_, n, records.data());
      if (!read) return read;
      for (int64_t i = 0; i < n; ++i) {
        std::memcpy(id, records.data() + i * record_size_, static_cast<size_t>(id_bytes));
        largest_id_ = std::max(largest_id_, get_i32(id));
      }
    }
    ids_read_ += n;
  }
  return Status::ok();
}

Status StoreFile::append_blank(int64_t* index) {
  return append_record({}, index);
}

Status StoreFile::append_record(const std::vector<FieldWrite>& writes, int64_t* index) {
  bool chains = false;
  for (const FieldWrite& w : writes) {
    if (!w.field->inside_record) return Status::corrupt("field outside the record");
    if (!is_chain_type(w.field->type) && w.field->type != kTypeText) {
      return Status::invalid("field takes no text or byte set");
    }
    chains = chains || is_chain_type(w.field->type);
  }
  if (chains && !companion_) return Status::corrupt("companion file missing");

  ByteLock header(&locks_, kHeaderLockByte);
  if (!header.held()) return Status::locked(path_);
  char words[8];
  Status status = file_->read_at(kHeaderLockByte, words, sizeof words);
  if (!status) return status;
  int32_t n = get_i32(words);
  // A negative count is no place to write; a count or id at its limit can't grow.
  if (n < 0) return Status::corrupt("record count");
  status = catch_up_ids(n);
  if (!status) return status;
  // The header's next id, unless a record holds it or a larger one: other programs have
  // been seen to keep the last id given at offset 20, so no id is ever given twice.
  if (largest_id_ == INT32_MAX) return Status::invalid("record id at its limit");
  const int32_t id = std::max({1, get_i32(words + 4), largest_id_ + 1});
  if (n == INT32_MAX || id == INT32_MAX) return Status::invalid("record count or id at its limit");
  const int64_t start = record_offset(n);
  // Record n lies past the count until the count below is written, and every cursor comes
  // from a count (or an append), so no other opener can address it: except a cursor left
  // on record 0 of an empty store. Only that record needs its lock; each lock is a server
  // round trip under Wine.
  std::optional<ByteLock> record_lock;
  if (n == 0) {
    record_lock.emplace(&locks_, start);
    if (!record_lock->held()) return Status::locked(path_);
  }
  int64_t size = 0;
  status = file_->size(&size);
  if (!status) return status;
  if (size < start) return Status::corrupt("file shorter than its records");

  // Chain values first: their blocks are reachable only once the record is counted.
  std::optional<ByteLock> companion_lock;
  if (chains) {
    companion_lock.emplace(&companion_->locks(), 0);
    if (!companion_lock->held()) return Status::locked(companion_->path());
  }
  written_ = true;
  if (record_size_ <= kRecordImageMax) {
    std::string image(static_cast<size_t>(record_size_), '\0');
    char id_bytes[4];
    put_i32(id_bytes, id);
    std::memcpy(image.data(), id_bytes, std::min<size_t>(4, image.size()));
    for (const FieldWrite& w : writes) {
      char* at = image.data() + w.field->offset;
      if (w.field->type == kTypeText) {
        const size_t width = static_cast<size_t>(w.field->byte_count);
        const size_t used = std::min(width, w.bytes.size());
        std::memcpy(at, w.bytes.data(), used);
        std::memset(at + used, 0, width - used);
        continue;
      }
      status = companion_->write_chain(get_i32(at), w.bytes, [at](int32_t first) {
        put_i32(at, first);
        return Status::ok();
      });
      if (!status) return status;
    }
    status = file_->write_at(start, image.data(), image.size());
  } else {
    status = write_blank_record(start, id);
    for (size_t i = 0; status && i < writes.size(); ++i) {
      const FieldWrite& w = writes[i];
      const int64_t at = start + w.field->offset;
      if (w.field->type == kTypeText) {
        status = write_text_at(at, *w.field, w.bytes);
        continue;
      }
      char reference[4];
      status = file_->read_at(at, reference, 4);
      if (!status) break;
      status = companion_->write_chain(get_i32(reference), w.bytes, [&](int32_t first) {
        put_i32(reference, first);
        return file_->write_at(at, reference, 4);
      });
    }
  }
  if (!status) return status;

  put_i32(words, n + 1);
  put_i32(words + 4, id + 1);
  status = file_->write_at(kHeaderLockByte, words, sizeof words);
  if (!status) return status;
  if (ids_read_ == n) {
    ids_read_ = n + 1;
    largest_id_ = std::max(largest_id_, id);
  }
  *index = n;
  return Status::ok();
}

Status StoreFile::read_records(int64_t first, int64_t n, char* buffer, bool wait) {
  if (first < 0 || n < 1) return Status::invalid("no records asked for");
  int64_t lock_start = record_offset(first);
  int64_t lock_length = (n - 1) * record_size_ + 1;
  // Named on failure only: a scan reads whole chunks this way, many times a second.
  auto records = [&] {
    return (n == 1 ? "record " + number(first + 1)
                   : "records " + number(first + 1) + "-" + number(first + n)) +
           " of " + path_;
  };
  ByteLock lock(&locks_, lock_start, lock_length, wait);
  if (!lock.held()) return Status::locked(records());
  Status read = file_->read_at(lock_start, buffer, static_cast<size_t>(n * record_size_));
  if (read) return read;
  if (!record_exists(first + n - 1)) return Status::not_found(records());
  return Status::io_error("read " + records(), read.cause());
}

Status StoreFile::read_field(int64_t index, const FieldInfo& field, FieldValue* value) {
  *value = empty_field_value(field.type);
  if (!field.inside_record) return Status::corrupt("field outside the record");
  if (is_chain_type(field.type)) return read_chain_value(index, field, value);
  if (index < 0) return missing_record(index);
  ByteLock lock(&locks_, record_offset(index));
  if (!lock.held()) return Status::locked(path_);
  // The record must be there before its field's width is trusted for an allocation.
  if (!record_exists(index)) return missing_record(index);
  std::string bytes(static_cast<size_t>(field.byte_count), '\0');
  Status read = file_->read_at(record_offset(index) + field.offset, bytes.data(), bytes.size());
  if (!read) return read;
  *value = decode_field_bytes(field.type, bytes.data(), field.byte_count);
  return Status::ok();
}

Status StoreFile::read_reference(int64_t index, const FieldInfo& field, int32_t* reference) {
  if (!is_chain_type(field.type) || !field.inside_record) return Status::invalid("no chain field");
  if (index < 0) return missing_record(index);
  ByteLock lock(&locks_, record_offset(index));
  if (!lock.held()) return Status::locked(path_);
  char bytes[4];
  Status read = file_->read_at(record_offset(index) + field.offset, bytes, 4);
  if (read) *reference = get_i32(bytes);
  return read;
}

FieldValue StoreFile::field_from_record(int64_t index, const FieldInfo& field, const char* record,
                                        Status* status) {
  if (!field.inside_record) return empty_field_value(field.type);
  if (!is_chain_type(field.type)) {
    return decode_field_bytes(field.type, record + field.offset, field.byte_count);
  }
  FieldValue value = empty_field_value(field.type);
  Status read = read_chain_value(index, field, &value);
  if (status != nullptr) *status = std::move(read);
  return value;
}

Status StoreFile::read_chain_value(int64_t index, const FieldInfo& field, FieldValue* value) {
  if (!companion_) return Status::corrupt("companion file missing");
  if (index < 0) return missing_record(index);
  ByteLock lock(&locks_, record_offset(index));
  if (!lock.held()) return Status::locked("record " + number(index + 1) + " of " + path_);
  if (!record_exists(index)) return missing_record(index);
  char reference[4];
  Status status = file_->read_at(record_offset(index) + field.offset, reference, 4);
  ByteSet bytes;
  if (status) status = companion_->read_chain(get_i32(reference), &bytes);
  if (!status) return status;
  if (field.type == kTypeBytes) {
    *value = FieldValue::of_bytes(std::move(bytes));
  } else {
    *value = FieldValue::of_text(std::string(text_up_to_zero(bytes.data(), bytes.size())));
  }
  return Status::ok();
}

// The text cut to the field's width byte-wise, or padded with zero bytes; in one write
// when the width allows.
Status StoreFile::write_text_at(int64_t at, const FieldInfo& field, std::string_view text) {
  const size_t width = static_cast<size_t>(field.byte_count);
  text = text.substr(0, width);
  if (width <= kZeroChunk) {
    std::string bytes(text);
    bytes.resize(width, '\0');
    return file_->write_at(at, bytes.data(), bytes.size());
  }
  Status status = file_->write_at(at, text.data(), text.size());
  const std::string zeros(kZeroChunk, '\0');
  for (size_t done = text.size(); status && done < width;) {
    size_t piece = std::min(width - done, zeros.size());
    status = file_->write_at(at + static_cast<int64_t>(done), zeros.data(), piece);
    done += piece;
  }
  return status;
}

Status StoreFile::write_text(int64_t index, const FieldInfo& field, std::string_view text) {
  if (field.type == kTypeLongText) return write_chain_value(index, field, text);
  if (field.type != kTypeText) return Status::invalid(field.name + " takes no text");
  if (!field.inside_record) return Status::corrupt("field outside the record");
  if (index < 0) return missing_record(index);
  ByteLock lock(&locks_, record_offset(index));
  if (!lock.held()) return Status::locked(path_);
  if (!record_exists(index)) return missing_record(index);
  written_ = true;
  return write_text_at(record_offset(index) + field.offset, field, text);
}

Status StoreFile::write_bytes(int64_t index, const FieldInfo& field, std::string_view bytes) {
  if (field.type != kTypeBytes) return Status::invalid(field.name + " takes no byte set");
  return write_chain_value(index, field, bytes);
}

Status StoreFile::write_chain_value(int64_t index, const FieldInfo& field, std::string_view data) {
  if (!companion_) return Status::corrupt("companion file missing");
  if (!field.inside_record) return Status::corrupt("field outside the record");
  if (index < 0) return missing_record(index);
  ByteLock lock(&locks_, record_offset(index));
  if (!lock.held()) return Status::locked(path_);
  if (!record_exists(index)) return missing_record(index);
  const int64_t at = record_offset(index) + field.offset;
  char reference[4];
  Status status = file_->read_at(at, reference, 4);
  if (!status) return status;
  written_ = true;
  return companion_->write_chain(get_i32(reference), data, [&](int32_t first) {
    put_i32(reference, first);
    return file_->write_at(at, reference, 4);
  });
}

void StoreFile::flush_if_written() {
  if (access_ == FileAccess::kReadOnly) return;
  if (written_) (void)file_->flush();
  if (companion_ && companion_->dirty()) (void)companion_->file().flush();
  written_ = false;
}
