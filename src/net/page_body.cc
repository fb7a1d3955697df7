#include "net/page_body.h"

#include <cstring>

#include "text/text.h"

bool PageBody::add(const void* data, size_t size) {
  if (!wants_more()) return false;
  const char* bytes = static_cast<const char*>(data);
  const void* zero = size != 0 ? std::memchr(bytes, 0, size) : nullptr;
  const size_t kept =
      zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : size;
  if (kept > bound_ - bytes_.size()) {
    too_large_ = true;
    bytes_.clear();
    return false;
  }
  bytes_.append(bytes, kept);
  complete_ = zero != nullptr;
  return wants_more();
}

std::string PageBody::text() const {
  if (too_large_) return std::string();
  return to_text(bytes_);
}
