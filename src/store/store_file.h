#ifndef MOYAN_STORE_STORE_FILE_H_
#define MOYAN_STORE_STORE_FILE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/companion_file.h"
#include "store/field_value.h"
#include "store/lock_table.h"
#include "store/platform_file.h"
#include "store/store_format.h"

struct FieldInfo {
  std::string name;
  int32_t type = 0;
  int64_t offset = 0;          // inside a record
  int64_t byte_count = 0;      // bytes the field takes in a record
  bool inside_record = false;  // offset + byte_count within the record size
};

// One opened store file with its companion: the checks and repairs of opening, the field
// table, and record reads and writes under the file's byte locks. Nothing read from the
// file is kept apart from its structure (field table, record size, data start).
class StoreFile {
 public:
  // Opens, checks and repairs; null with *failed_check naming the failed check.
  static std::unique_ptr<StoreFile> open(const std::string& path, std::string* failed_check);
  ~StoreFile();

  const std::vector<FieldInfo>& fields() const { return fields_; }
  const FieldInfo* find_field(const std::string& name) const;  // letter case ignored
  int64_t record_size() const { return record_size_; }
  int64_t data_start() const { return data_start_; }
  CompanionFile* companion() { return companion_.get(); }

  // The header's record count (negative reads as 0), under the header lock.
  bool read_count(int32_t* count);
  // Appends a zero record with the next id; *index is its position.
  bool append_blank(int64_t* index);
  // Reads records first .. first + n - 1 whole into buffer (n × record size bytes), under
  // one lock over their first bytes.
  bool read_records(int64_t first, int64_t n, char* buffer);
  // A field of record index, read from the file under the record's lock.
  FieldValue read_field(int64_t index, const FieldInfo& field);
  // A field taken from a record already in memory. Chain values are read under the
  // record's lock, following the reference that the file holds now.
  FieldValue field_from_record(int64_t index, const FieldInfo& field, const char* record);
  bool write_text(int64_t index, const FieldInfo& field, std::string_view text);
  bool write_bytes(int64_t index, const FieldInfo& field, std::string_view bytes);
  // Writes what this opening changed through to the disk.
  void flush_if_written();

 private:
  explicit StoreFile(std::unique_ptr<PlatformFile> file)
      : file_(std::move(file)), locks_(file_.get()) {}
  std::string check_and_repair(const std::string& path);
  int64_t record_offset(int64_t index) const { return data_start_ + index * record_size_; }
  bool record_exists(int64_t index);
  FieldValue read_chain_value(int64_t index, const FieldInfo& field);
  bool write_chain_value(int64_t index, const FieldInfo& field, std::string_view data);

  std::unique_ptr<PlatformFile> file_;
  LockTable locks_;
  std::unique_ptr<CompanionFile> companion_;
  std::vector<FieldInfo> fields_;
  int32_t version_ = 0;
  int64_t record_size_ = 0;
  int64_t data_start_ = 0;
  bool written_ = false;
};

// The value a field gives from its bytes in a record; chain fields give their empty value.
FieldValue decode_field_bytes(int32_t type, const char* bytes, int64_t byte_count);
// The empty value of a field's type.
FieldValue empty_field_value(int32_t type);

#endif  // MOYAN_STORE_STORE_FILE_H_
