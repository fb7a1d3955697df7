#include "app/fatal_error.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(FatalError, Text) {
  struct Case {
    std::optional<int> code;
    std::string message;
    std::string expect;
  };
  const Case cases[] = {
      {std::nullopt, "", "运行时出错!\r\n\r\n"},
      {std::nullopt, "载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {7, "", "运行时出错!\r\n\r\n错误代码：7\r\n\r\n"},
      {-1, "x", "运行时出错!\r\n\r\n错误代码：-1\r\n\r\n错误信息：x\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(fatal_error_text(c.code, c.message), c.expect);
}

TEST(FatalError, Messages) {
  EXPECT_EQ(allocation_failure_message(100), "分配 100 字节内存失败!");
  // Sizes beyond the range of an int are written in full, not as negative numbers.
  EXPECT_EQ(allocation_failure_message(size_t{1} << 31), "分配 2147483648 字节内存失败!");
  EXPECT_EQ(missing_entry_point_message("SkinH_EL.dll", "SkinH_AttachRes"),
            "无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”");
}

}  // namespace
