#include "store/platform_file.h"

#include <atomic>

namespace {

std::atomic<FileOpener*> current_opener{nullptr};

}  // namespace

FileOpener& file_opener() {
  FileOpener* opener = current_opener.load(std::memory_order_acquire);
  return opener != nullptr ? *opener : system_files();
}

void set_file_opener(FileOpener* opener) {
  current_opener.store(opener, std::memory_order_release);
}
