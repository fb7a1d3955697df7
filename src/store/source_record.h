#ifndef MOYAN_STORE_SOURCE_RECORD_H_
#define MOYAN_STORE_SOURCE_RECORD_H_

// Field names of a library entry, as stored in the field table of Code.edb (GBK bytes).
inline constexpr char kFieldTitle[] = "\xB1\xEA\xCC\xE2";                       // "标题"
inline constexpr char kFieldCategory[] = "\xC0\xE0\xD0\xCD";                    // "类型"
inline constexpr char kFieldSize[] = "\xB4\xF3\xD0\xA1";                        // "大小"
inline constexpr char kFieldRating[] = "\xD0\xC7\xBC\xB6";                      // "星级"
inline constexpr char kFieldUpdateTime[] = "\xB8\xFC\xD0\xC2\xCA\xB1\xBC\xE4";  // "更新时间"
inline constexpr char kFieldAddress[] = "\xB7\xC7\xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7";  // "非下载地址"
inline constexpr char kFieldAttachment[] = "\xB8\xBD\xBC\xFE";                       // "附件"

#endif  // MOYAN_STORE_SOURCE_RECORD_H_
