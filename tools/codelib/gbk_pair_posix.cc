#include <iconv.h>

#include "gbk_to_utf8.h"

long gbk_pair_to_code_point(unsigned char lead, unsigned char trail) {
  static iconv_t converter = iconv_open("UTF-32LE", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) return -1;
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  unsigned char out[8];
  char* in_p = in;
  char* out_p = reinterpret_cast<char*>(out);
  size_t in_left = 2, out_left = sizeof out;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in_p, &in_left, &out_p, &out_left) == static_cast<size_t>(-1) ||
      in_left != 0 || out_left != 4) {
    return -1;
  }
  return static_cast<long>(out[0] | out[1] << 8 | out[2] << 16 |
                           static_cast<unsigned long>(out[3]) << 24);
}
