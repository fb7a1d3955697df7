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

// UTF-8 text as GBK, its inverse: a character GBK can't hold (a symbol such as "♫", a
// character outside the Basic Multilingual Plane), or a byte that begins no UTF-8
// character, becomes "?". *lossy, when given, tells whether that happened: two names that
// differ only in such characters read alike in GBK.
std::string utf8_to_gbk(std::string_view utf8, bool* lossy = nullptr);

#endif  // MOYAN_TEXT_GBK_UNICODE_H_
