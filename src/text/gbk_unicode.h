#ifndef MOYAN_TEXT_GBK_UNICODE_H_
#define MOYAN_TEXT_GBK_UNICODE_H_

#include <cstdint>
#include <string>
#include <string_view>

// GBK texts as Unicode, by one table on every platform: code page 936 as Windows defines
// it (make_gbk_table.py says how the table is made), so what a tool prints on Linux is
// what the program shows on Windows.

// The character of a two-byte code, or -1 when the pair begins none.
int32_t gbk_pair_to_unicode(unsigned char lead, unsigned char trail);

// GBK text as UTF-8, character by character. A byte that begins no character (0x80,
// 0xFF, a lead byte without a valid trail byte) becomes U+FFFD, and only that byte is
// lost: the next one starts afresh.
std::string gbk_to_utf8(std::string_view gbk);

#endif  // MOYAN_TEXT_GBK_UNICODE_H_
