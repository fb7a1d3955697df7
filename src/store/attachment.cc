#include "store/attachment.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "store/little_endian.h"

namespace {

// Packed attachment: magic (4) | unpacked length, signed (4) | zlib stream of the bytes.
constexpr int32_t kAttachmentMagic = 0x033E0F0D;
constexpr size_t kPackedHeaderSize = 8;
// Inflation grows its output in steps of at most this size, so a hostile length costs
// memory only as far as the stream really inflates.
constexpr size_t kInflateStep = 1 << 20;

}  // namespace

ByteSet pack_attachment(const ByteSet& bytes) {
  const size_t n = bytes.size();
  if (n > static_cast<size_t>(INT32_MAX)) return ByteSet();
  uLongf stream_size = static_cast<uLongf>(n / 1000 + n + 1024);
  std::string packed(kPackedHeaderSize + stream_size, '\0');
  put_i32(packed.data(), kAttachmentMagic);
  put_i32(packed.data() + 4, static_cast<int32_t>(n));
  if (n > 0) {
    if (compress2(reinterpret_cast<Bytef*>(packed.data() + kPackedHeaderSize), &stream_size,
                  bytes.udata(), static_cast<uLong>(n), Z_DEFAULT_COMPRESSION) != Z_OK) {
      return ByteSet();
    }
    packed.resize(kPackedHeaderSize + stream_size);
  } else {
    packed.resize(kPackedHeaderSize);
  }
  return ByteSet(std::move(packed));
}

ByteSet unpack_attachment(const ByteSet& packed) {
  if (packed.size() < kPackedHeaderSize || get_i32(packed.data()) != kAttachmentMagic) {
    return ByteSet();
  }
  // The output may be at most twice the stored length (as the packed format allows).
  int64_t limit = 2 * static_cast<int64_t>(get_i32(packed.data() + 4));
  if (limit <= 0) return ByteSet();

  z_stream z;
  std::memset(&z, 0, sizeof z);
  if (inflateInit(&z) != Z_OK) return ByteSet();
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + kPackedHeaderSize));
  z.avail_in = static_cast<uInt>(std::min<size_t>(packed.size() - kPackedHeaderSize, UINT_MAX));
  std::string out;
  int status = Z_OK;
  while (status == Z_OK) {
    size_t have = out.size();
    size_t room = static_cast<size_t>(limit) - have;
    if (room == 0) break;  // full, and the stream hasn't ended: not clean
    size_t step = std::min({room, kInflateStep, std::max<size_t>(have, 4096)});
    out.resize(have + step);
    z.next_out = reinterpret_cast<Bytef*>(out.data() + have);
    z.avail_out = static_cast<uInt>(step);
    status = inflate(&z, Z_NO_FLUSH);
    out.resize(have + (step - z.avail_out));
    // Input used up without the stream's end: a cut stream.
    if (status == Z_BUF_ERROR || (status == Z_OK && z.avail_in == 0 && z.avail_out > 0)) break;
  }
  inflateEnd(&z);
  if (status != Z_STREAM_END) return ByteSet();
  return ByteSet(std::move(out));
}
