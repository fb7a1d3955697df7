#ifndef MOYAN_TOOLS_CODELIB_RECORD_JSON_H_
#define MOYAN_TOOLS_CODELIB_RECORD_JSON_H_

#include <string>

#include "store/field_value.h"

// A JSON string (quotes included) of GBK text, converted to UTF-8.
std::string json_text(const std::string& gbk);
// A field value as JSON: numbers, true/false, strings, {"size": N, "crc32": "hex"}.
std::string json_value(const FieldValue& value);

#endif  // MOYAN_TOOLS_CODELIB_RECORD_JSON_H_
