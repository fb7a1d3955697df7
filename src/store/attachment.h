#ifndef MOYAN_STORE_ATTACHMENT_H_
#define MOYAN_STORE_ATTACHMENT_H_

#include "text/byte_set.h"

// A source file packed for the 附件 field: magic, unpacked length, zlib stream.
// Empty result when compression fails.
ByteSet pack_attachment(const ByteSet& bytes);
// The unpacked bytes; empty for anything that isn't a whole, clean packed attachment.
ByteSet unpack_attachment(const ByteSet& packed);

#endif  // MOYAN_STORE_ATTACHMENT_H_
