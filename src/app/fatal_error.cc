#include "app/fatal_error.h"

std::string fatal_error_text(std::optional<int> code, const std::string& message) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code) text += "错误代码：" + std::to_string(*code) + "\r\n\r\n";
  if (!message.empty()) text += "错误信息：" + message + "\r\n";
  return text;
}

std::string allocation_failure_message(size_t bytes) {
  // The count is written in full: a request above 2 GB must not show as negative.
  return "分配 " + std::to_string(bytes) + " 字节内存失败!";
}

std::string missing_entry_point_message(const std::string& library, const std::string& entry) {
  return "无法找到指定DLL库文件“" + library + "”中的输出命令“" + entry + "”";
}
