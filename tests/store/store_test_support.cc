#include "store_test_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/empty_library.h"
#include "store/store_audit.h"
#include "store/store_file.h"
#include "store/store_path.h"

namespace fs = std::filesystem;

void StoreTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  dir_ = (fs::temp_directory_path() / ("moyan_store_" + name)).generic_string();
  fs::remove_all(dir_);
  fs::create_directories(dir_);
}

void StoreTest::TearDown() {
  store_close_all();
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

std::string StoreTest::new_library(const std::string& name) {
  Status created = create_empty_library(path(name));
  EXPECT_TRUE(created.is_ok()) << created.text();
  return path(name);
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int64_t file_size(const std::string& path) {
  std::error_code ec;
  auto size = fs::file_size(path, ec);
  return ec ? -1 : static_cast<int64_t>(size);
}

void put32(std::string* bytes, size_t offset, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<char>(v >> (8 * i));
}

int32_t get32(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
  return static_cast<int32_t>(v);
}

std::string store_file_bytes(const std::vector<TestField>& fields, int32_t record_size,
                             int32_t count, int32_t next_id) {
  std::string bytes(116 + 72 * fields.size(), '\0');
  bytes.replace(0, 4, "WEDB");
  put32(&bytes, 4, 0x10000);
  put32(&bytes, 16, count);
  put32(&bytes, 20, next_id);
  put32(&bytes, 24, record_size);
  put32(&bytes, 112, static_cast<int32_t>(fields.size()));
  for (size_t i = 0; i < fields.size(); ++i) {
    size_t at = 116 + 72 * i;
    bytes.replace(at, fields[i].name.size(), fields[i].name);
    put32(&bytes, at + 20, fields[i].type);
    put32(&bytes, at + 24, fields[i].offset);
    put32(&bytes, at + 28, fields[i].width);
  }
  return bytes;
}

std::string companion_bytes(int32_t block_count, int32_t free_count, int32_t first_free) {
  std::string bytes(512, '\0');
  bytes.replace(0, 4, "WEDT");
  put32(&bytes, 4, 0x10000);
  put32(&bytes, 16, block_count);
  put32(&bytes, 20, free_count);
  put32(&bytes, 24, first_free);
  return bytes;
}

void append_titled(const std::string& prefix, int first, int n) {
  for (int i = first; i < first + n; ++i) {
    ASSERT_TRUE(append_blank_record());
    ASSERT_TRUE(write_field(kFieldTitle, prefix + std::to_string(i)));
  }
}

bool find_title(const std::string& title) {
  go_first();
  return find_record([&] { return read_field(kFieldTitle).text() == title; });
}

std::vector<std::string> unsound_findings(const std::string& lib) {
  std::unique_ptr<StoreFile> store;
  Status status = StoreFile::open(lib, FileAccess::kReadOnly, &store);
  StoreAudit audit;
  if (status) status = audit_store(store.get(), &audit);
  if (!status) return {"doesn't open: " + status.text()};
  std::vector<std::string> found;
  for (const AuditFinding& finding : audit.findings) {
    if (!finding.harmless()) found.push_back(finding.text);
  }
  return found;
}

std::string companion_of(const std::string& lib) {
  return companion_file_path(lib);
}

void copy_library(const std::string& from, const std::string& to) {
  write_file(to, read_file(from));
  write_file(companion_of(to), read_file(companion_of(from)));
}

bool file_unlocked(const std::string& path) {
  std::unique_ptr<PlatformFile> file;
  if (!system_files().open_existing(path, FileAccess::kReadWrite, &file).is_ok()) return false;
  const int64_t kWholeFile = 0x80000000LL;
  if (!file->try_lock(0, kWholeFile)) return false;
  file->unlock(0, kWholeFile);
  return true;
}
