#include "record_json.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/gbk_unicode.h"

namespace {

std::string json_number(double value) {
  if (!std::isfinite(value)) return "null";  // JSON has no NaN or infinity
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

}  // namespace

std::string json_text(const std::string& gbk) {
  std::string utf8 = gbk_to_utf8(gbk);
  std::string out = "\"";
  for (char ch : utf8) {
    unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

std::string json_value(const FieldValue& value) {
  switch (value.kind()) {
    case FieldValue::Kind::kInteger:
      return std::to_string(value.integer());
    case FieldValue::Kind::kNumber:
    case FieldValue::Kind::kDateTime:
      return json_number(value.number());
    case FieldValue::Kind::kTruth:
      return value.truth() ? "true" : "false";
    case FieldValue::Kind::kText:
      return json_text(value.text());
    case FieldValue::Kind::kBytes: {
      const ByteSet& bytes = value.bytes();
      uLong crc = crc32(0L, Z_NULL, 0);
      // crc32 takes at most 4 GB a call.
      for (size_t done = 0; done < bytes.size();) {
        uInt piece = static_cast<uInt>(std::min<size_t>(bytes.size() - done, 1u << 30));
        crc = crc32(crc, bytes.udata() + done, piece);
        done += piece;
      }
      char text[64];
      std::snprintf(text, sizeof text, "{\"size\": %llu, \"crc32\": \"%08lx\"}",
                    static_cast<unsigned long long>(bytes.size()), static_cast<unsigned long>(crc));
      return text;
    }
    default:
      return "null";
  }
}
