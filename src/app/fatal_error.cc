#include "app/fatal_error.h"

#include <charconv>
#include <cstring>

namespace {

constexpr char kHeading[] = "运行时出错!\r\n\r\n";
constexpr char kMessageLabel[] = "错误信息：";

void append(FixedText& text, std::string_view part) {
  size_t room = text.bytes.size() - text.size;
  size_t n = part.size() < room ? part.size() : room;
  std::memcpy(text.bytes.data() + text.size, part.data(), n);
  text.size += n;
}

void append_allocation_failure(FixedText& text, size_t bytes) {
  append(text, "分配 ");
  // The count is written in full: a request above 2 GB must not show as negative.
  char number[24];
  auto written = std::to_chars(number, number + sizeof(number), bytes);
  append(text, std::string_view(number, static_cast<size_t>(written.ptr - number)));
  append(text, " 字节内存失败!");
}

}  // namespace

std::string fatal_error_text(std::optional<int> code, const std::string& message) {
  std::string text = kHeading;
  if (code) text += "错误代码：" + std::to_string(*code) + "\r\n\r\n";
  if (!message.empty()) text += kMessageLabel + message + "\r\n";
  return text;
}

std::string allocation_failure_message(size_t bytes) {
  FixedText text;
  append_allocation_failure(text, bytes);
  return std::string(text.view());
}

FixedText allocation_failure_text(size_t bytes) {
  FixedText text;
  append(text, kHeading);
  append(text, kMessageLabel);
  append_allocation_failure(text, bytes);
  append(text, "\r\n");
  return text;
}

std::string missing_entry_point_message(const std::string& library, const std::string& entry) {
  return "无法找到指定DLL库文件“" + library + "”中的输出命令“" + entry + "”";
}
