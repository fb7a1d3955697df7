#include "store/empty_library.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "store/little_endian.h"
#include "store/platform_file.h"
#include "store/source_record.h"
#include "store/store_format.h"
#include "store/store_path.h"

namespace {

struct NewField {
  const char* name;
  int32_t type;
  int32_t width;  // 0 for fields of a fixed size, as the runtime writes them
};

const NewField kEntryFields[] = {
    {kFieldTitle, kTypeText, kTitleWidth},
    {kFieldCategory, kTypeText, kCategoryWidth},
    {kFieldSize, kTypeText, kSizeWidth},
    {kFieldRating, kTypeText, kRatingWidth},
    {kFieldUpdateTime, kTypeText, kUpdateTimeWidth},
    {kFieldAddress, kTypeText, kAddressWidth},
    {kFieldAttachment, kTypeBytes, 0},
};

std::string store_bytes() {
  const int32_t count = static_cast<int32_t>(std::size(kEntryFields));
  std::string bytes(static_cast<size_t>(kFieldTableStart + kFieldEntrySize * count), '\0');
  int32_t offset = 4;  // after the record id
  for (int32_t i = 0; i < count; ++i) {
    const NewField& f = kEntryFields[i];
    FieldEntry e{f.name, f.type, offset, f.width};
    encode_field_entry(e, bytes.data() + kFieldTableStart + kFieldEntrySize * i);
    offset += static_cast<int32_t>(field_byte_count(f.type, f.width));
  }
  StoreHeader h{{'W', 'E', 'D', 'B'}, kStoreVersion, 0, 1, offset};
  encode_store_header(h, bytes.data());
  put_i32(bytes.data() + kStoreHeaderSize, count);
  return bytes;
}

std::string companion_bytes() {
  std::string bytes(kBlockSize, '\0');
  CompanionHeader h{{'W', 'E', 'D', 'T'}, kStoreVersion, 1, 0, 0};
  encode_companion_header(h, bytes.data());
  return bytes;
}

}  // namespace

bool create_empty_library(const std::string& path, std::string* error) {
  std::string store_path = store_file_path(path);
  std::string companion_path = companion_file_path(store_path);
  // Neither file is ever overwritten: a library that exists keeps its entries.
  if (PlatformFile::open_existing(store_path)) {
    *error = "library exists already: " + store_path;
    return false;
  }
  if (PlatformFile::open_existing(companion_path)) {
    *error = "companion file exists already: " + companion_path;
    return false;
  }
  std::unique_ptr<PlatformFile> store = PlatformFile::create_new(store_path);
  if (!store) {
    *error = "can't create (exists already?): " + store_path;
    return false;
  }
  std::string bytes = store_bytes();
  std::unique_ptr<PlatformFile> companion = PlatformFile::create_new(companion_path);
  bool ok = companion && store->write_at(0, bytes.data(), bytes.size());
  if (ok) {
    bytes = companion_bytes();
    ok = companion->write_at(0, bytes.data(), bytes.size()) && store->flush() && companion->flush();
  }
  if (!ok) {
    *error = "can't write: " + store_path;
    store.reset();
    std::remove(store_path.c_str());
    if (companion) {
      companion.reset();
      std::remove(companion_path.c_str());
    }
  }
  return ok;
}
