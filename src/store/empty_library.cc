#include "store/empty_library.h"

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

std::string store_bytes(DateTime created) {
  const int32_t count = static_cast<int32_t>(std::size(kEntryFields));
  std::string bytes(static_cast<size_t>(kFieldTableStart + kFieldEntrySize * count), '\0');
  int32_t offset = 4;  // after the record id
  for (int32_t i = 0; i < count; ++i) {
    const NewField& f = kEntryFields[i];
    FieldEntry e{f.name, f.type, offset, f.width};
    encode_field_entry(e, bytes.data() + kFieldTableStart + kFieldEntrySize * i);
    offset += static_cast<int32_t>(field_byte_count(f.type, f.width));
  }
  StoreHeader h{{'W', 'E', 'D', 'B'}, kStoreVersion, created.days, 0, 1, offset};
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

Status create_empty_library(const std::string& path, DateTime created) {
  const std::string store_path = store_file_path(path);
  const std::string companion_path = companion_file_path(store_path);
  // Neither file is ever overwritten: a library that exists keeps its entries.
  std::unique_ptr<PlatformFile> store;
  Status status = create_new_file(store_path, &store);
  if (status.code() == Status::Code::kNotFound) {
    std::string folder = folder_of_path(store_path);
    return Status::not_found("folder " + (folder.empty() ? std::string(".") : folder),
                             status.cause());
  }
  if (!status) return status;
  std::unique_ptr<PlatformFile> companion;
  status = create_new_file(companion_path, &companion);
  if (status) {
    const std::string bytes = store_bytes(created);
    status = store->write_at(0, bytes.data(), bytes.size());
  }
  if (status) {
    const std::string bytes = companion_bytes();
    status = companion->write_at(0, bytes.data(), bytes.size());
  }
  if (status) status = store->flush();
  if (status) status = companion->flush();
  if (!status) {
    // Take back what this call made, and only that.
    store.reset();
    (void)remove_file(store_path);
    if (companion) {
      companion.reset();
      (void)remove_file(companion_path);
    }
  }
  return status;
}
