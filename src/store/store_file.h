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
#include "store/status.h"
#include "store/store_format.h"

struct FieldInfo {
  std::string name;
  int32_t type = 0;
  int64_t offset = 0;          // inside a record
  int64_t byte_count = 0;      // bytes the field takes in a record
  bool inside_record = false;  // offset + byte_count within the record size
};

// One field's value in a whole new record (StoreFile::append_record): a text for a text
// field, a byte set for the byte-set field.
struct FieldWrite {
  const FieldInfo* field;
  std::string_view bytes;
};

// One opened store file with its companion: the checks and repairs of opening, the field
// table, and record reads and writes under the file's byte locks. Nothing read from the
// file is kept apart from its structure (field table, record size, data start).
class StoreFile {
 public:
  // Opens and checks the file at a full path. Opened for reading and writing, it repairs
  // what opening repairs; opened for reading only, it changes nothing and lists the
  // repairs that are due (repairs()).
  static Status open(const std::string& path, FileAccess access, std::unique_ptr<StoreFile>* out);
  ~StoreFile();

  const std::string& path() const { return path_; }
  const std::vector<FieldInfo>& fields() const { return fields_; }
  const FieldInfo* find_field(std::string_view name) const;  // letter case ignored
  int64_t record_size() const { return record_size_; }
  int64_t data_start() const { return data_start_; }
  CompanionFile* companion() { return companion_.get(); }
  // What opening repaired (reading and writing) or would repair (reading only).
  const std::vector<std::string>& repairs() const { return repairs_; }
  // The record count once opening's repairs are made.
  int64_t opened_record_count() const { return opened_count_; }
  // The creation time in the header (days), as opening found it: reserved bytes, which
  // other programs may leave zero or fill with anything; never checked.
  double created() const { return created_; }

  // The header's record count (negative reads as 0), under the header lock.
  Status read_count(int32_t* count);
  // Appends a zero record with the next id, the header's or, when a record holds it or a
  // larger one already, the largest id + 1; *index is its position.
  Status append_blank(int64_t* index);
  // Appends a record with the given fields, all written while the header lock is held, so
  // that no other opener sees it before it is whole. Leaves exactly the bytes that
  // append_blank and a write per field, in the same order, would leave.
  Status append_record(const std::vector<FieldWrite>& writes, int64_t* index);
  // Reads records first .. first + n - 1 whole into buffer (n × record size bytes), under
  // one lock over their first bytes. With wait false, a lock that another opener holds on
  // any of them fails the read at once. A failure names the records and says why: locked,
  // not in the file, or the system's reason.
  Status read_records(int64_t first, int64_t n, char* buffer, bool wait = true);
  // The 4-byte chain reference of a field of record index, under the record's lock.
  Status read_reference(int64_t index, const FieldInfo& field, int32_t* reference);
  // A field of record index, read from the file under the record's lock.
  Status read_field(int64_t index, const FieldInfo& field, FieldValue* value);
  // A field taken from a record already in memory; the empty value of its type when it
  // can't be read, and *status (when given) says why. Chain values are read under the record's
  // lock, following the reference that the file holds now. (A scan calls this for every record it
  // visits: it returns the value itself.)
  FieldValue field_from_record(int64_t index, const FieldInfo& field, const char* record,
                               Status* status = nullptr);
  Status write_text(int64_t index, const FieldInfo& field, std::string_view text);
  Status write_bytes(int64_t index, const FieldInfo& field, std::string_view bytes);
  // Records the file holds whole, whatever the header says.
  Status whole_records(int64_t* count);
  // Whether record index lies whole inside the file.
  bool record_exists(int64_t index);
  // Writes what this opening changed through to the disk.
  void flush_if_written();

 private:
  StoreFile(std::unique_ptr<PlatformFile> file, std::string path, FileAccess access)
      : file_(std::move(file)), locks_(file_.get()), path_(std::move(path)), access_(access) {}
  Status check_and_repair();
  int64_t record_offset(int64_t index) const { return data_start_ + index * record_size_; }
  Status missing_record(int64_t index) const;
  Status write_blank_record(int64_t start, int32_t id);
  Status read_chain_value(int64_t index, const FieldInfo& field, FieldValue* value);
  Status write_chain_value(int64_t index, const FieldInfo& field, std::string_view data);
  Status write_text_at(int64_t at, const FieldInfo& field, std::string_view text);
  Status catch_up_ids(int64_t count);
  Status chain_references(std::vector<int32_t>* firsts);

  std::unique_ptr<PlatformFile> file_;
  LockTable locks_;
  std::string path_;
  FileAccess access_;
  std::unique_ptr<CompanionFile> companion_;
  std::vector<FieldInfo> fields_;
  std::vector<std::string> repairs_;
  int32_t version_ = 0;
  double created_ = 0;
  int64_t record_size_ = 0;
  int64_t data_start_ = 0;
  int64_t opened_count_ = 0;
  bool written_ = false;
  // The largest id among the first ids_read_ records: the ids a new record must stay clear
  // of, whatever the header says (other writers keep the last id given there, or the next).
  int64_t ids_read_ = 0;
  int32_t largest_id_ = 0;
};

// The value a field gives from its bytes in a record; chain fields give their empty value.
FieldValue decode_field_bytes(int32_t type, const char* bytes, int64_t byte_count);
// The empty value of a field's type.
FieldValue empty_field_value(int32_t type);
// A text as a field of this type will hold it: a fixed-width text cut to its width, byte
// for byte (a two-byte character at the cut loses its second byte), then, like any text
// read back, up to its first zero byte. Other fields keep the text whole.
std::string stored_text(const FieldInfo& field, std::string_view text);
// A text field's bytes up to the first zero byte: the text they hold.
std::string_view text_up_to_zero(const char* bytes, size_t size);
bool is_chain_type(int32_t type);

#endif  // MOYAN_STORE_STORE_FILE_H_
