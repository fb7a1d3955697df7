#ifndef MOYAN_NET_PAGE_BODY_H_
#define MOYAN_NET_PAGE_BODY_H_

// The body of a page request as it comes in, piece by piece. The caller gets the bytes up
// to the first zero byte, so nothing after one can change the result: collecting stops
// there. A body that grows past its bound is given up: the call then fails as on a
// network error rather than filling memory.

#include <cstddef>
#include <string>

#include "text/byte_set.h"

class PageBody {
 public:
  explicit PageBody(size_t bound) : bound_(bound) {}

  // Takes one piece; false once nothing more is wanted (a zero byte came, or the bound was
  // passed).
  bool add(const void* data, size_t size);
  bool wants_more() const { return !complete_ && !too_large_; }
  // Whether the body passed its bound before a zero byte ended it.
  bool too_large() const { return too_large_; }
  // The page: the bytes up to the first zero byte; empty when the body was too large.
  std::string text() const;

 private:
  size_t bound_;
  ByteSet bytes_;
  bool complete_ = false;  // a zero byte has come
  bool too_large_ = false;
};

#endif  // MOYAN_NET_PAGE_BODY_H_
