#ifndef MOYAN_TESTS_STORE_STORE_TEST_SUPPORT_H_
#define MOYAN_TESTS_STORE_STORE_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "store/store.h"

// A fresh folder per test, removed afterwards; every store of the thread is closed.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  // A new empty library (the seven entry fields) at path(name).
  std::string new_library(const std::string& name = "Code.edb");

  std::string dir_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
int64_t file_size(const std::string& path);

void put32(std::string* bytes, size_t offset, int32_t value);
int32_t get32(const std::string& bytes, size_t offset);

// A store file built field by field, for shapes the entry library doesn't have.
struct TestField {
  std::string name;
  int32_t type;
  int32_t offset;
  int32_t width;
};
std::string store_file_bytes(const std::vector<TestField>& fields, int32_t record_size,
                             int32_t count = 0, int32_t next_id = 1);
std::string companion_bytes(int32_t block_count = 1, int32_t free_count = 0,
                            int32_t first_free = 0);

// What a walk of the library's chains finds that matters for soundness: a block in two
// values or in a value and on the free chain, a chain that loops or leaves the file, a
// library that doesn't open. (Lost blocks, a crash's wasted space, are allowed.) Opens the
// library for reading only and changes nothing.
std::vector<std::string> unsound_findings(const std::string& lib);
// Copies a library (store file and companion) under another name, replacing it.
void copy_library(const std::string& from, const std::string& to);
std::string companion_of(const std::string& lib);
// Tries to lock every byte of a file from an opener of its own: false when any lock of
// another opener is left on it.
bool file_unlocked(const std::string& path);

// Appends records titled prefix + number, from first up to first + n - 1.
void append_titled(const std::string& prefix, int first, int n);
// Finds the record whose title equals title, from the first record.
bool find_title(const std::string& title);

#endif  // MOYAN_TESTS_STORE_STORE_TEST_SUPPORT_H_
