#include "skin/call_record.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "skin/skin_data.h"
#include "win32/owned_handle.h"

namespace {

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (char c : bytes) {
    out.push_back(digits[static_cast<unsigned char>(c) >> 4]);
    out.push_back(digits[static_cast<unsigned char>(c) & 0xF]);
  }
  return out;
}

}  // namespace

void record_call(const unsigned char* data, int length, const char* text, int reserved4,
                 int reserved5, int reserved6) {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"MOYAN_SKIN_CALL_LOG", path, MAX_PATH) == 0) return;
  uint32_t crc = 0;
  if (data != nullptr && length > 0) {
    crc = skin_crc32(
        std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(length)));
  }
  char numbers[160];
  std::snprintf(numbers, sizeof(numbers), " length=%d text_address=%s", length,
                text != nullptr ? "set" : "null");
  std::string line = std::string("address=") + (data != nullptr ? "set" : "null") + numbers;
  line += " text=" + (text != nullptr ? hex(std::string_view(text, std::strlen(text))) : "");
  std::snprintf(numbers, sizeof(numbers), " reserved=%d,%d,%d crc=%08x\r\n", reserved4, reserved5,
                reserved6, static_cast<unsigned>(crc));
  line += numbers;
  win32::OwnedHandle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
