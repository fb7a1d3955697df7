#ifndef MOYAN_STORE_LITTLE_ENDIAN_H_
#define MOYAN_STORE_LITTLE_ENDIAN_H_

#include <cstdint>
#include <cstring>

// Every integer of the store files is 32-bit, signed, little-endian.
inline int32_t get_i32(const void* p) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                              static_cast<uint32_t>(b[2]) << 16 |
                              static_cast<uint32_t>(b[3]) << 24);
}

inline void put_i32(void* p, int32_t value) {
  uint8_t* b = static_cast<uint8_t*>(p);
  uint32_t v = static_cast<uint32_t>(value);
  b[0] = static_cast<uint8_t>(v);
  b[1] = static_cast<uint8_t>(v >> 8);
  b[2] = static_cast<uint8_t>(v >> 16);
  b[3] = static_cast<uint8_t>(v >> 24);
}

inline int64_t get_i64(const void* p) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  uint64_t lo = static_cast<uint32_t>(get_i32(b));
  uint64_t hi = static_cast<uint32_t>(get_i32(b + 4));
  return static_cast<int64_t>(lo | hi << 32);
}

inline int16_t get_i16(const void* p) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  return static_cast<int16_t>(b[0] | b[1] << 8);
}

inline double get_f64(const void* p) {
  uint64_t bits = static_cast<uint64_t>(get_i64(p));
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

inline void put_f64(void* p, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  put_i32(p, static_cast<int32_t>(static_cast<uint32_t>(bits)));
  put_i32(static_cast<uint8_t*>(p) + 4, static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)));
}

inline float get_f32(const void* p) {
  uint32_t bits = static_cast<uint32_t>(get_i32(p));
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

#endif  // MOYAN_STORE_LITTLE_ENDIAN_H_
