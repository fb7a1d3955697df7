// Arbitrary bytes opened as a store file with its companion: inspected read-only as codelib
// check does (opening's due repairs, a walk of every chain), then opened as the program
// opens it, every field of every record read, a text and a byte set written to every
// field, a whole entry appended; the chains must stay sound throughout.
//
// Input: 4 bytes (little-endian) giving the store file's share of the rest, the store
// file's bytes, then the companion file's bytes.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/little_endian.h"
#include "store/platform_file.h"
#include "store/store.h"
#include "store/store_audit.h"
#include "store/store_file.h"

namespace {

// In memory where the system offers it: every run flushes its files when it closes them.
std::string work_path(const char* name) {
  static const std::string dir = [] {
    struct stat st;
    std::string base = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
    return base + "/fuzz_store_" + std::to_string(getpid());
  }();
  static const int made = mkdir(dir.c_str(), 0700);
  (void)made;
  return dir + "/" + name;
}

void write_whole(const std::string& path, const uint8_t* data, size_t size) {
  std::remove(path.c_str());
  std::unique_ptr<PlatformFile> file;
  if (create_new_file(path, &file)) (void)file->write_at(0, data, size);
}

constexpr int64_t kMaxRecords = 200;
constexpr int64_t kMaxAppendedRecord = 1 << 20;

bool separate_references(const std::vector<FieldInfo>& fields) {
  for (const FieldInfo& chain : fields) {
    if (chain.type != kTypeBytes && chain.type != kTypeLongText) continue;
    if (chain.offset < 4) return false;
    for (const FieldInfo& other : fields) {
      if (&other != &chain && other.offset < chain.offset + 4 &&
          chain.offset < other.offset + other.byte_count) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  size_t rest = size - 4;
  size_t store_size = static_cast<uint32_t>(get_i32(data)) % (rest + 1);
  const std::string store_path = work_path("f.edb");
  write_whole(store_path, data + 4, store_size);
  write_whole(work_path("f.EDT"), data + 4 + store_size, rest - store_size);

  std::unique_ptr<StoreFile> file;
  if (!StoreFile::open(store_path, FileAccess::kReadOnly, &file)) return 0;
  StoreAudit audit;
  (void)audit_store(file.get(), &audit);
  file.reset();
  if (!StoreFile::open(store_path, FileAccess::kReadWrite, &file)) return 0;
  int32_t count = 0;
  (void)file->read_count(&count);
  std::string names[8];
  bool bytes[8] = {};
  int used = 0;
  for (const FieldInfo& field : file->fields()) {
    if (used < 8) {
      bytes[used] = field.type == kTypeBytes;
      names[used++] = field.name;
    }
  }
  // A hostile record size makes every append write that many bytes: kept to what a test
  // run can afford.
  const bool appends = file->record_size() <= kMaxAppendedRecord;
  for (int64_t i = 0; i < count && i < kMaxRecords; ++i) {
    FieldValue value;
    for (const FieldInfo& field : file->fields()) (void)file->read_field(i, field, &value);
  }
  // A file that opens with sound chains keeps them through every write below, unless its
  // field table lays a reference over the record id or another field (then appends and
  // writes of those bytes make references of their own).
  bool sound = separate_references(file->fields()) && audit_store(file.get(), &audit).is_ok() &&
               audit.sound();
  // The same through the store operations, with a scan reading every field.
  file.reset();
  if (!store_open(store_path)) return 0;
  go_first();
  int visited = 0;
  find_record([&] {
    for (int k = 0; k < used; ++k) read_field(names[k]);
    return ++visited >= kMaxRecords;
  });
  go_first();
  std::string text(static_cast<size_t>(size % 1500), 't');
  for (int k = 0; k < used; ++k) {
    write_field(names[k], text);
    write_field(names[k], ByteSet(text));
    read_field(names[k]);
  }
  if (appends) {
    std::vector<FieldAssignment> entry;
    for (int k = 0; k < used; ++k) {
      if (bytes[k]) {
        entry.emplace_back(names[k], ByteSet(text));
      } else {
        entry.emplace_back(names[k], text);
      }
    }
    (void)append_record(entry);
    append_blank_record();
  }
  store_close();
  if (sound) {
    if (!StoreFile::open(store_path, FileAccess::kReadOnly, &file)) abort();
    if (!audit_store(file.get(), &audit) || !audit.sound()) {
      for (const AuditFinding& finding : audit.findings) {
        std::fprintf(stderr, "unsound after writes: %s\n", finding.text.c_str());
      }
      abort();
    }
  }
  file.reset();
  return 0;
}
