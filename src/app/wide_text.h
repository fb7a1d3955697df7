#ifndef MOYAN_APP_WIDE_TEXT_H_
#define MOYAN_APP_WIDE_TEXT_H_

#include <string>

// Texts inside the program are GBK; Windows is spoken to in UTF-16. The conversion names
// code page 936 explicitly, so the program is right whatever the system's ANSI code page.
std::wstring widen(const std::string& gbk);
// Characters that GBK cannot hold become "?".
std::string narrow(const std::wstring& wide);

#endif  // MOYAN_APP_WIDE_TEXT_H_
