#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "codelib.h"
#include "record_json.h"
#include "store/empty_library.h"
#include "store/little_endian.h"
#include "store/platform_file.h"
#include "store/store_audit.h"
#include "store/store_file.h"
#include "store/store_path.h"
#include "text/date_time.h"
#include "text/gbk_unicode.h"

namespace {

constexpr int64_t kDumpChunkBytes = 1 << 20;

struct Streams {
  std::FILE* out;
  std::FILE* err;
};

void print(std::FILE* to, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), to);
  std::fputc('\n', to);
}

// A creation time as a person reads it, to the second.
std::string calendar_text(double days) {
  const DateTimeParts t = split_date_time(DateTime{days});
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

// One line on the error stream that names the file and the cause; status 1.
int refuse(const Streams& s, const std::string& path, const Status& status,
           const std::string& doing = std::string()) {
  std::string text = status.text();
  if (text.find(path) == std::string::npos || !doing.empty()) text = path + ": " + text;
  print(s.err, "codelib: " + doing + platform_text_to_utf8(text));
  return 1;
}

// Opens a library as store_open finds it (the same path rules), for reading only or to
// repair it; *full is the store file's full path.
Status open_library(const std::string& path, FileAccess access, std::unique_ptr<StoreFile>* store,
                    std::string* full) {
  *full = store_full_path(path);
  if (full->empty()) {
    *full = path;
    return Status::invalid("no full path for this name");
  }
  return StoreFile::open(*full, access, store);
}

int create(const Streams& s, const std::string& path) {
  Status created = create_empty_library(path, local_time_now());
  if (!created) return refuse(s, store_file_path(path), created, "can't create ");
  return 0;
}

int check(const Streams& s, const std::string& path) {
  std::unique_ptr<StoreFile> store;
  std::string full;
  Status status = open_library(path, FileAccess::kReadOnly, &store, &full);
  StoreAudit audit;
  if (status) status = audit_store(store.get(), &audit);
  CompanionHeader companion = {};
  if (status && store->companion()) status = store->companion()->read_header(&companion);
  if (!status) return refuse(s, full, status);
  print(s.out, "records=" + std::to_string(audit.records) +
                   " fields=" + std::to_string(store->fields().size()) +
                   " record_size=" + std::to_string(store->record_size()) +
                   " blocks=" + std::to_string(companion.block_count) +
                   " free_blocks=" + std::to_string(companion.free_count));
  // Files made by older versions of the program hold no creation time.
  if (store->created() != 0) print(s.out, "created: " + calendar_text(store->created()));
  for (const std::string& repair : store->repairs()) print(s.out, "repair due: " + repair);
  for (const AuditFinding& finding : audit.findings) {
    print(s.out, (finding.harmless() ? "lost: " : "broken: ") + gbk_to_utf8(finding.text));
  }
  return audit.sound() ? 0 : 1;
}

int repair(const Streams& s, const std::string& path) {
  std::unique_ptr<StoreFile> store;
  std::string full;
  Status status = open_library(path, FileAccess::kReadWrite, &store, &full);
  if (!status) return refuse(s, full, status);
  for (const std::string& made : store->repairs()) print(s.out, "repaired: " + made);
  if (store->repairs().empty()) print(s.out, "nothing to repair");
  return 0;
}

int dump(const Streams& s, const std::string& path) {
  std::unique_ptr<StoreFile> store;
  std::string full;
  Status status = open_library(path, FileAccess::kReadOnly, &store, &full);
  if (!status) return refuse(s, full, status);
  const int64_t count = store->opened_record_count();
  std::vector<std::string> names;
  for (const FieldInfo& field : store->fields()) names.push_back(json_text(field.name));
  const int64_t size = store->record_size();
  const int64_t chunk = std::max<int64_t>(1, kDumpChunkBytes / size);
  std::vector<char> buffer;
  for (int64_t first = 0; first < count; first += chunk) {
    int64_t n = std::min<int64_t>(chunk, count - first);
    buffer.resize(static_cast<size_t>(n * size));
    status = store->read_records(first, n, buffer.data());
    if (!status) return refuse(s, full, status);
    for (int64_t i = 0; i < n; ++i) {
      const char* record = buffer.data() + i * size;
      char id[4] = {0, 0, 0, 0};
      std::memcpy(id, record, static_cast<size_t>(std::min<int64_t>(4, size)));
      std::string line = "{\"id\": " + std::to_string(get_i32(id));
      for (size_t f = 0; f < names.size(); ++f) {
        // A value that can't be read shows as the program would read it: empty.
        line += ", " + names[f] + ": " +
                json_value(store->field_from_record(first + i, store->fields()[f], record));
      }
      line += "}";
      print(s.out, line);
    }
  }
  return std::fflush(s.out) == 0 ? 0 : 1;
}

}  // namespace

int run_codelib(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const Streams s{out, err};
  const std::string command = args.empty() ? std::string() : args[0];
  const size_t n = args.size();
  if (command == "create" && n == 2) return create(s, args[1]);
  if (command == "check" && n == 2) return check(s, args[1]);
  if (command == "dump" && n == 2) return dump(s, args[1]);
  if (command == "repair" && n == 2) return repair(s, args[1]);
  if (command == "list" && (n == 2 || n == 3)) {
    return codelib_list(args[1], n == 3 ? &args[2] : nullptr, out, err);
  }
  if (command == "search" && n == 3) return codelib_search(args[1], args[2], out, err);
  if (command == "import" && n == 3) return codelib_import(args[1], args[2], out, err);
  if (command == "export" && n == 4) return codelib_export(args[1], args[2], args[3], out, err);
  const char* const known[] = {"create", "check",  "dump",   "repair",
                               "list",   "search", "import", "export"};
  bool is_known = false;
  for (const char* name : known) is_known = is_known || command == name;
  if (is_known || args.size() < 2) {
    print(err,
          "usage: codelib create|check|dump|repair PATH\n"
          "       codelib list PATH [CATEGORY]\n"
          "       codelib search PATH KEYWORD\n"
          "       codelib import PATH FOLDER\n"
          "       codelib export PATH TITLE DIR");
    return 2;
  }
  print(err, "codelib: unknown command " + platform_text_to_utf8(command));
  return 2;
}
