#include "model_library.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "store/empty_library.h"
#include "store/little_endian.h"
#include "store/platform_file.h"

bool write_model_library(const std::string& path, int count,
                         const std::function<void(char* record, int index)>& fill) {
  using namespace model_record;
  std::filesystem::remove(path);
  std::filesystem::remove(path.substr(0, path.size() - 3) + "EDT");
  const Status created = create_empty_library(path);
  if (!created) {
    std::fprintf(stderr, "%s\n", created.text().c_str());
    return false;
  }
  std::unique_ptr<PlatformFile> file;
  if (!open_existing_file(path, FileAccess::kReadWrite, &file)) return false;
  constexpr int kPerWrite = 1000;
  std::string chunk;
  for (int first = 0; first < count; first += kPerWrite) {
    const int k = std::min(kPerWrite, count - first);
    chunk.assign(static_cast<size_t>(k * kSize), '\0');
    for (int i = 0; i < k; ++i) {
      char* record = chunk.data() + i * kSize;
      put_i32(record, first + i + 1);
      fill(record, first + i);
    }
    if (!file->write_at(kDataStart + static_cast<int64_t>(first) * kSize, chunk.data(),
                        chunk.size())) {
      return false;
    }
  }
  // The header's record count and next id, so the store sees every record written.
  char words[8];
  put_i32(words, count);
  put_i32(words + 4, count + 1);
  return static_cast<bool>(file->write_at(16, words, sizeof words));
}
