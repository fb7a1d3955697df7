#include "library/entry_export.h"

#include <cstring>

#include "store/attachment.h"
#include "text/text.h"

namespace {

// The packed form's first eight bytes: its magic and the unpacked length, little-endian.
constexpr char kAttachmentMagic[] = "\x0D\x0F\x3E\x03";
constexpr size_t kPackedHeader = 8;

bool packs_nothing(const ByteSet& packed) {
  return packed.size() == kPackedHeader && std::memcmp(packed.data(), kAttachmentMagic, 4) == 0 &&
         std::memcmp(packed.data() + 4, "\0\0\0\0", 4) == 0;
}

}  // namespace

ExportedFile exported_file_of(const ByteSet& attachment, const std::string& address) {
  if (left_text(address, 7) == "http://") return {".rar", attachment, true};
  ExportedFile file{".e", unpack_attachment(attachment), true};
  // Only the packed form of no bytes at all unpacks to nothing.
  if (file.bytes.empty() && !packs_nothing(attachment)) file.sound = false;
  return file;
}
