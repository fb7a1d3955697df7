#ifndef MOYAN_STORE_FIELD_VALUE_H_
#define MOYAN_STORE_FIELD_VALUE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "text/byte_set.h"

// What read_field gives: the value of one field, typed as the field is. A field that
// can't be read gives the empty value of its type; an unknown field gives kind kNone.
class FieldValue {
 public:
  enum class Kind { kNone, kInteger, kNumber, kTruth, kDateTime, kText, kBytes };

  FieldValue() = default;
  static FieldValue of_integer(int64_t v) { return FieldValue(Kind::kInteger, v, 0); }
  static FieldValue of_number(double v) { return FieldValue(Kind::kNumber, 0, v); }
  static FieldValue of_truth(bool v) { return FieldValue(Kind::kTruth, v ? 1 : 0, 0); }
  static FieldValue of_date_time(double days) { return FieldValue(Kind::kDateTime, 0, days); }
  static FieldValue of_text(std::string text) {
    FieldValue v(Kind::kText, 0, 0);
    v.text_ = std::move(text);
    return v;
  }
  // A text copied from bytes, into a buffer that a value of this thread gave back where
  // there is one: a scan makes a value for every record it looks at, and a heap allocation
  // for each would cost more than reading the record.
  static FieldValue of_text(const char* bytes, size_t size);
  static FieldValue of_bytes(ByteSet bytes) {
    FieldValue v(Kind::kBytes, 0, 0);
    v.bytes_ = std::move(bytes);
    return v;
  }

  FieldValue(const FieldValue&) = default;
  FieldValue(FieldValue&&) = default;
  FieldValue& operator=(const FieldValue&) = default;
  FieldValue& operator=(FieldValue&&) = default;
  // Gives a text's buffer back to the thread, for the next text read.
  ~FieldValue();

  Kind kind() const { return kind_; }
  // Empty unless the value is a text.
  const std::string& text() const { return text_; }
  // Empty unless the value is a byte set.
  const ByteSet& bytes() const { return bytes_; }
  int64_t integer() const { return integer_; }
  bool truth() const { return integer_ != 0; }
  // Single and double floats, and date-times as days.
  double number() const { return number_; }

 private:
  FieldValue(Kind kind, int64_t integer, double number)
      : kind_(kind), integer_(integer), number_(number) {}

  Kind kind_ = Kind::kNone;
  int64_t integer_ = 0;
  double number_ = 0;
  std::string text_;
  ByteSet bytes_;
};

#endif  // MOYAN_STORE_FIELD_VALUE_H_
