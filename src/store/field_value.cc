#include "store/field_value.h"

#include <utility>

#include "store/platform_file.h"

namespace {

// Text buffers given back by this thread's values, kept for the next texts read. Only
// buffers of texts too long to sit inside a string are worth keeping, and only small ones;
// a few values live at once is the usual case (a condition reading some fields of a record).
struct SpareTexts {
  static constexpr size_t kKept = 8;
  static constexpr size_t kLargest = 4096;
  std::string texts[kKept];
  size_t count = 0;
};

// Only a plain pointer is thread-local (see at_thread_exit). Made by the first text read,
// never by a value given back, so nothing is made anew while the thread ends.
thread_local SpareTexts* spare_texts = nullptr;

}  // namespace

FieldValue FieldValue::of_text(const char* bytes, size_t size) {
  FieldValue v(Kind::kText, 0, 0);
  if (size > v.text_.capacity()) {
    if (spare_texts == nullptr) {
      spare_texts = new SpareTexts;
      at_thread_exit(
          [](void* p) {
            spare_texts = nullptr;
            delete static_cast<SpareTexts*>(p);
          },
          spare_texts);
    }
    if (spare_texts->count > 0) v.text_ = std::move(spare_texts->texts[--spare_texts->count]);
  }
  v.text_.assign(bytes, size);
  return v;
}

FieldValue::~FieldValue() {
  SpareTexts* spare = spare_texts;
  if (spare == nullptr || spare->count == SpareTexts::kKept) return;
  const size_t capacity = text_.capacity();
  // A string's own inside buffer (a short or moved-from text) isn't worth keeping.
  if (capacity <= std::string().capacity() || capacity > SpareTexts::kLargest) return;
  spare->texts[spare->count++] = std::move(text_);
}
