#ifndef MOYAN_TOOLS_CODELIB_GBK_TO_UTF8_H_
#define MOYAN_TOOLS_CODELIB_GBK_TO_UTF8_H_

#include <string>

// GBK text as UTF-8, character by character; a byte that begins no convertible
// character becomes U+FFFD.
std::string gbk_to_utf8(const std::string& gbk);

// One two-byte GBK character as a Unicode code point, or -1 when it has none.
long gbk_pair_to_code_point(unsigned char lead, unsigned char trail);

#endif  // MOYAN_TOOLS_CODELIB_GBK_TO_UTF8_H_
