#ifndef MOYAN_TEXT_BYTE_SET_H_
#define MOYAN_TEXT_BYTE_SET_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A byte buffer that knows its own length and may hold zero bytes: page bodies, file
// contents, packages and attachments. Kept distinct from a text (std::string of GBK
// bytes without zero bytes) so that the two never mix by accident.
class ByteSet {
 public:
  ByteSet() = default;
  explicit ByteSet(std::string bytes) : bytes_(std::move(bytes)) {}
  ByteSet(const void* data, size_t size) : bytes_(static_cast<const char*>(data), size) {}

  const char* data() const { return bytes_.data(); }
  char* data() { return bytes_.data(); }
  const uint8_t* udata() const { return reinterpret_cast<const uint8_t*>(bytes_.data()); }
  size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  uint8_t operator[](size_t i) const { return static_cast<uint8_t>(bytes_[i]); }

  void append(const void* data, size_t size) {
    bytes_.append(static_cast<const char*>(data), size);
  }
  void append(const ByteSet& other) { bytes_.append(other.bytes_); }
  void resize(size_t size) { bytes_.resize(size); }
  void reserve(size_t size) { bytes_.reserve(size); }
  void clear() { bytes_.clear(); }

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  std::string release() { return std::move(bytes_); }

  friend bool operator==(const ByteSet&, const ByteSet&) = default;

 private:
  std::string bytes_;
};

#endif  // MOYAN_TEXT_BYTE_SET_H_
