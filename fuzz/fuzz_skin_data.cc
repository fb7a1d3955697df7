// Arbitrary bytes read as a block of skin data, as the skin library reads what a program
// hands it: once as they are, and once with the block's length and CRC-32 made to fit (a
// fuzzer can't guess a CRC, and the sections behind it deserve the same distrust). A block
// that is taken must write back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/skin_data.h"

namespace {

void check(std::string_view block) {
  SkinData skin;
  if (!read_skin(block, &skin).is_ok()) return;
  SkinData again;
  if (!read_skin(write_skin(skin), &again).is_ok() || !(again == skin)) std::abort();
}

void set_u32(std::string& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view block(reinterpret_cast<const char*>(data), size);
  check(block);
  if (size >= 16) {
    std::string fitted(block);
    set_u32(fitted, 8, static_cast<uint32_t>(size));
    set_u32(fitted, 12, skin_crc32(std::string_view(fitted).substr(16)));
    check(fitted);
  }
  return 0;
}
