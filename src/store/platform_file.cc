#include "store/platform_file.h"

#include <atomic>

namespace {

std::atomic<FileOpener*> current_opener{nullptr};

}  // namespace

Status PlatformFile::read_at(int64_t offset, void* buffer, size_t size) {
  size_t got = 0;
  Status read = read_up_to(offset, buffer, size, &got);
  if (read && got < size) return Status::io_error("read " + path_, "the file ends first");
  return read;
}

FileOpener& file_opener() {
  FileOpener* opener = current_opener.load(std::memory_order_acquire);
  return opener != nullptr ? *opener : system_files();
}

void set_file_opener(FileOpener* opener) {
  current_opener.store(opener, std::memory_order_release);
}
