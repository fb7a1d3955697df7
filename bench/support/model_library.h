// Entry libraries of many entries for the benchmarks, written straight into the file.
#ifndef MOYAN_BENCH_SUPPORT_MODEL_LIBRARY_H_
#define MOYAN_BENCH_SUPPORT_MODEL_LIBRARY_H_

#include <cstdint>
#include <functional>
#include <string>

// Layout of the entry library made by create_empty_library: the records start after the
// header and the seven field descriptions; a record holds its fields at fixed offsets.
namespace model_record {
inline constexpr int64_t kDataStart = 116 + 72 * 7;
inline constexpr int64_t kSize = 604;
// Offsets inside a record: id 0, 标题 4 (256), 类型 260 (16), 大小 276 (16), 星级 292 (16),
// 更新时间 308 (32), 非下载地址 340 (260), 附件 600 (4).
inline constexpr int kTitle = 4;
inline constexpr int kCategory = 260;
inline constexpr int kSizeText = 276;
inline constexpr int kStars = 292;
inline constexpr int kTime = 308;
inline constexpr int kAddress = 340;
}  // namespace model_record

// Makes `path` an empty library (replacing what is there) and writes `count` records into it, a
// thousand per write: appending a 100,000-entry library through the store would cost minutes per
// run. `fill` gets each record's zeroed bytes (its id already in place) and its index from 0.
// False, with the reason on standard error, when the library can't be made.
bool write_model_library(const std::string& path, int count,
                         const std::function<void(char* record, int index)>& fill);

#endif  // MOYAN_BENCH_SUPPORT_MODEL_LIBRARY_H_
