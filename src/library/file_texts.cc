#include "library/file_texts.h"

#include "library/library_texts.h"
#include "text/text.h"

std::string time_text_of(DateTime last_write) {
  // The calendar words of to_text's date-time form become the usual separators, in this
  // order: "2013年10月25日9时5分7秒" reads "2013-10-25 9:5:7".
  std::string text = to_text(last_write);
  text = replace_substring(text, kYear, "-");
  text = replace_substring(text, kMonth, "-");
  text = replace_substring(text, kDay, " ");
  text = replace_substring(text, kHour, ":");
  text = replace_substring(text, kMinute, ":");
  text = replace_substring(text, kSecond, "");
  return text;
}

std::string size_text_of(int64_t size) {
  // The whole size: a double holds every size a disk can have to the byte.
  const double kilobytes = round_number(static_cast<double>(size) / 1024.0, 2);
  // Past 1024 KB (allowing for the rounding above) the size is given in MB.
  if (kilobytes - 1024 > 0.0000001) return to_text(round_number(kilobytes / 1024, 2)) + " MB";
  return to_text(kilobytes) + " KB";
}

std::string file_time_text(LocalFiles& files, const LocalPath& path) {
  LocalEntry entry;
  if (!files.find_entry(path, &entry)) return time_text_of(DateTime{kEarliestDateTimeDays});
  return time_text_of(entry.last_write);
}

std::string file_size_text(LocalFiles& files, const LocalPath& path) {
  LocalEntry entry;
  if (!files.find_entry(path, &entry)) return size_text_of(-1);
  return size_text_of(entry.size);
}
