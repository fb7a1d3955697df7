#ifndef MOYAN_NET_DOWNLOAD_BODY_H_
#define MOYAN_NET_DOWNLOAD_BODY_H_

// The body of a download as it comes in, piece by piece, zero bytes and all. A body past
// its bound is given up the moment it passes it, whether or not its length was declared:
// a server may send no length (chunked, or ended by closing) and never stop, and the
// program is 32-bit. Until then the body takes little more memory than its bytes: a
// declared length is made room for once; without one the bytes go into blocks of their
// own, joined only once the body is whole, so an endless body never holds more than the
// bound and a block.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/byte_set.h"

class DownloadBody {
 public:
  // Bytes gathered in one block at most when no length was declared.
  static constexpr size_t kBlockBytes = size_t{1} << 20;

  explicit DownloadBody(size_t bound) : bound_(bound) {}

  // The length the answer declares, once its headers are in (nothing when it declares
  // none). False when it is past the bound: the body is then given up before its first
  // byte.
  bool expect(std::optional<uint64_t> declared_length);
  // Takes one piece; false once the body is past its bound (it is then given up).
  bool add(const void* data, size_t size);
  bool too_large() const { return too_large_; }
  size_t size() const { return size_; }
  // The whole body; empty when it was given up.
  ByteSet take();

 private:
  void give_up();

  const size_t bound_;
  size_t size_ = 0;
  bool too_large_ = false;
  std::vector<std::string> blocks_;
};

#endif  // MOYAN_NET_DOWNLOAD_BODY_H_
