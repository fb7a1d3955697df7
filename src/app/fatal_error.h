#ifndef MOYAN_APP_FATAL_ERROR_H_
#define MOYAN_APP_FATAL_ERROR_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The text of the fatal error box: "运行时出错!", then the error code and the message when
// given, each in its own paragraph.
std::string fatal_error_text(std::optional<int> code, const std::string& message);

// The message for a memory request that could not be met.
std::string allocation_failure_message(size_t bytes);

// A text in a fixed buffer, for the path where memory has run out.
struct FixedText {
  std::array<char, 128> bytes{};
  size_t size = 0;
  std::string_view view() const { return std::string_view(bytes.data(), size); }
};
// The fatal error box's whole text for a memory request that could not be met, built
// without the heap: reporting a failed allocation must not allocate again.
FixedText allocation_failure_text(size_t bytes);

// The message for a library entry point that could not be found.
std::string missing_entry_point_message(const std::string& library, const std::string& entry);

// Shows the fatal error box and ends the process at once with exit code -1, without the
// normal end's clean-up. Windows only.
[[noreturn]] void show_fatal_error(std::optional<int> code, const std::string& message);
// The same for a memory request that could not be met, without touching the heap.
[[noreturn]] void show_out_of_memory(size_t bytes);

#endif  // MOYAN_APP_FATAL_ERROR_H_
