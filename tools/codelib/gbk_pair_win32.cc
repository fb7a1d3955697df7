#include <windows.h>

#include "gbk_to_utf8.h"

long gbk_pair_to_code_point(unsigned char lead, unsigned char trail) {
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  wchar_t out[2];
  int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, in, 2, out, 2);
  if (n != 1) return -1;
  return static_cast<long>(out[0]);
}
