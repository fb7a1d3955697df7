// Arbitrary bytes opened as a store file with its companion: every field of every record
// is read, then a text and a byte set are written, as the program would.
//
// Input: 4 bytes (little-endian) giving the store file's share of the rest, the store
// file's bytes, then the companion file's bytes.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "store/little_endian.h"
#include "store/platform_file.h"
#include "store/store.h"
#include "store/store_file.h"

namespace {

std::string work_path(const char* name) {
  static const std::string dir = "/tmp/fuzz_store_" + std::to_string(getpid());
  static const int made = mkdir(dir.c_str(), 0700);
  (void)made;
  return dir + "/" + name;
}

void write_whole(const std::string& path, const uint8_t* data, size_t size) {
  std::remove(path.c_str());
  if (auto file = PlatformFile::create_new(path)) file->write_at(0, data, size);
}

constexpr int64_t kMaxRecords = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  size_t rest = size - 4;
  size_t store_size = static_cast<uint32_t>(get_i32(data)) % (rest + 1);
  const std::string store_path = work_path("f.edb");
  write_whole(store_path, data + 4, store_size);
  write_whole(work_path("f.EDT"), data + 4 + store_size, rest - store_size);

  std::string failed;
  std::unique_ptr<StoreFile> file = StoreFile::open(store_path, &failed);
  if (!file) return 0;
  int32_t count = 0;
  file->read_count(&count);
  std::string names[8];
  int used = 0;
  for (const FieldInfo& field : file->fields()) {
    if (used < 8) names[used++] = field.name;
  }
  for (int64_t i = 0; i < count && i < kMaxRecords; ++i) {
    for (const FieldInfo& field : file->fields()) file->read_field(i, field);
  }
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
  append_blank_record();
  store_close();
  return 0;
}
