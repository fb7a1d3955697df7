// codelib: creates and inspects library files outside the program.
//   codelib create PATH   a new empty library with the seven entry fields
//   codelib check PATH    opens it as the program does and prints its shape
//   codelib dump PATH     one JSON object per record
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "record_json.h"
#include "store/empty_library.h"
#include "store/little_endian.h"
#include "store/platform_file.h"
#include "store/store_file.h"
#include "store/store_path.h"

namespace {

constexpr int64_t kDumpChunkBytes = 1 << 20;

std::unique_ptr<StoreFile> open_as_program(const std::string& path, std::string* failed) {
  std::string full = full_path_name(store_file_path(path));
  if (full.empty()) {
    *failed = "path";
    return nullptr;
  }
  return StoreFile::open(full, failed);
}

int create(const std::string& path) {
  std::string error;
  if (!create_empty_library(path, &error)) {
    std::fprintf(stderr, "codelib: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int check(const std::string& path) {
  std::string failed;
  std::unique_ptr<StoreFile> store = open_as_program(path, &failed);
  int32_t records = 0;
  if (store && !store->read_count(&records)) failed = "record count unreadable";
  CompanionHeader companion = {};
  if (store && store->companion() && !store->companion()->read_header(&companion)) {
    failed = "companion header unreadable";
  }
  if (!failed.empty()) {
    std::printf("refused: %s\n", failed.c_str());
    return 1;
  }
  std::printf("records=%d fields=%d record_size=%lld blocks=%d free_blocks=%d\n", records,
              static_cast<int>(store->fields().size()),
              static_cast<long long>(store->record_size()), companion.block_count,
              companion.free_count);
  return 0;
}

int dump(const std::string& path) {
  std::string failed;
  std::unique_ptr<StoreFile> store = open_as_program(path, &failed);
  int32_t count = 0;
  if (store && !store->read_count(&count)) failed = "record count unreadable";
  if (!failed.empty()) {
    std::fprintf(stderr, "codelib: refused: %s\n", failed.c_str());
    return 1;
  }
  std::vector<std::string> names;
  for (const FieldInfo& field : store->fields()) names.push_back(json_text(field.name));
  const int64_t size = store->record_size();
  const int64_t chunk = std::max<int64_t>(1, kDumpChunkBytes / size);
  std::vector<char> buffer;
  for (int64_t first = 0; first < count; first += chunk) {
    int64_t n = std::min<int64_t>(chunk, count - first);
    buffer.resize(static_cast<size_t>(n * size));
    if (!store->read_records(first, n, buffer.data())) {
      std::fprintf(stderr, "codelib: can't read record %lld\n", static_cast<long long>(first + 1));
      return 1;
    }
    for (int64_t i = 0; i < n; ++i) {
      const char* record = buffer.data() + i * size;
      char id[4] = {0, 0, 0, 0};
      std::memcpy(id, record, static_cast<size_t>(std::min<int64_t>(4, size)));
      std::string line = "{\"id\": " + std::to_string(get_i32(id));
      for (size_t f = 0; f < names.size(); ++f) {
        line += ", " + names[f] + ": " +
                json_value(store->field_from_record(first + i, store->fields()[f], record));
      }
      line += "}\n";
      std::fwrite(line.data(), 1, line.size(), stdout);
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc != 3) {
    std::fprintf(stderr, "usage: codelib create|check|dump PATH\n");
    return 2;
  }
  std::string command = argv[1], path = argv[2];
  if (command == "create") return create(path);
  if (command == "check") return check(path);
  if (command == "dump") return dump(path);
  std::fprintf(stderr, "codelib: unknown command %s\n", command.c_str());
  return 2;
}
