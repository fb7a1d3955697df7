#ifndef MOYAN_LIBRARY_LIBRARY_TEXTS_H_
#define MOYAN_LIBRARY_LIBRARY_TEXTS_H_

// The texts the library's handlers show and store, as GBK bytes (written as escapes, so
// that every compiler of the portable core reads them alike; each line says the text).

// Categories: the eight buttons and the entry form's type list, and the one the move menu
// offers besides them.
inline constexpr char kCategorySystemTools[] = "\xCF\xB5\xCD\xB3\xB9\xA4\xBE\xDF";  // "系统工具"
inline constexpr char kCategoryNetwork[] = "\xCD\xF8\xC2\xE7\xCF\xE0\xB9\xD8";     // "网络相关"
inline constexpr char kCategoryModules[] = "\xC4\xA3\xBF\xE9\xBF\xD8\xBC\xFE";     // "模块控件"
inline constexpr char kCategoryIndustry[] = "\xD0\xD0\xD2\xB5\xBF\xD8\xBC\xFE";    // "行业控件"
inline constexpr char kCategoryGames[] = "\xD3\xCE\xCF\xB7\xD3\xE9\xC0\xD6";       // "游戏娱乐"
inline constexpr char kCategoryMultimedia[] = "\xB6\xE0\xC3\xBD\xCC\xE5\xC0\xE0";  // "多媒体类"
inline constexpr char kCategoryDatabase[] = "\xCA\xFD\xBE\xDD\xBF\xE2\xC0\xE0";    // "数据库类"
inline constexpr char kCategoryGraphics[] = "\xCD\xBC\xD0\xCE\xCD\xBC\xCF\xF1";    // "图形图像"
inline constexpr char kCategoryGameSoftware[] = "\xD3\xCE\xCF\xB7\xC8\xED\xBC\xFE";  // "游戏软件"

// The rating of every imported entry.
inline constexpr char kFiveStars[] = "\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF";  // "★★★★★"

// Message boxes: captions and texts.
inline constexpr char kCaptionHint[] = "\xCC\xE1\xCA\xBE";  // "提示"
inline constexpr char kAskKeywordAgain[] =  // "请重新输入您要搜索的内容"
    "\xC7\xEB\xD6\xD8\xD0\xC2\xCA\xE4\xC8\xEB\xC4\xFA\xD2\xAA\xCB\xD1\xCB\xF7\xB5\xC4\xC4\xDA"
    "\xC8\xDD";
inline constexpr char kAskSearchArea[] =  // "请选择要搜索的区域"
    "\xC7\xEB\xD1\xA1\xD4\xF1\xD2\xAA\xCB\xD1\xCB\xF7\xB5\xC4\xC7\xF8\xD3\xF2";
inline constexpr char kTitleMissing[] =  // "标题不能为空"
    "\xB1\xEA\xCC\xE2\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5";
inline constexpr char kSizeMissing[] =  // "源码大小为空"
    "\xD4\xB4\xC2\xEB\xB4\xF3\xD0\xA1\xCE\xAA\xBF\xD5";
inline constexpr char kRatingMissing[] =  // "请选择源码星级"
    "\xC7\xEB\xD1\xA1\xD4\xF1\xD4\xB4\xC2\xEB\xD0\xC7\xBC\xB6";
inline constexpr char kCategoryMissing[] =  // "请选择源码类型"
    "\xC7\xEB\xD1\xA1\xD4\xF1\xD4\xB4\xC2\xEB\xC0\xE0\xD0\xCD";
inline constexpr char kUpdateTimeMissing[] =  // "更新时间不能为空"
    "\xB8\xFC\xD0\xC2\xCA\xB1\xBC\xE4\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5";
inline constexpr char kAlreadyInLibrary[] =  // "该源码数据库中已存在"
    "\xB8\xC3\xD4\xB4\xC2\xEB\xCA\xFD\xBE\xDD\xBF\xE2\xD6\xD0\xD2\xD1\xB4\xE6\xD4\xDA";
inline constexpr char kEntryAdded[] =
    "\xD4\xB4\xC2\xEB\xCC\xED\xBC\xD3\xB3\xC9\xB9\xA6!";  // "源码添加成功!"
// A store that refused the entry: said, instead of claiming success.
inline constexpr char kEntryNotAdded[] =  // "源码添加失败："
    "\xD4\xB4\xC2\xEB\xCC\xED\xBC\xD3\xCA\xA7\xB0\xDC\xA3\xBA";
// A listing that met a record it couldn't read (another program holds it): the rows
// before it are shown, and the list says it is short.
inline constexpr char kListingShort[] =  // "源码库有记录无法读取，列表不完整："
    "\xD4\xB4\xC2\xEB\xBF\xE2\xD3\xD0\xBC\xC7\xC2\xBC\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1"
    "\xA3\xAC\xC1\xD0\xB1\xED\xB2\xBB\xCD\xEA\xD5\xFB\xA3\xBA";
// The form's duplicate check couldn't read the whole library: nothing is added.
inline constexpr char kEntryUnchecked[] =  // "无法检查源码库中是否已有此标题，源码未添加："
    "\xCE\xDE\xB7\xA8\xBC\xEC\xB2\xE9\xD4\xB4\xC2\xEB\xBF\xE2\xD6\xD0\xCA\xC7\xB7\xF1"
    "\xD2\xD1\xD3\xD0\xB4\xCB\xB1\xEA\xCC\xE2\xA3\xAC\xD4\xB4\xC2\xEB\xCE\xB4\xCC\xED"
    "\xBC\xD3\xA3\xBA";
// The move couldn't look the entry up: nothing is written and the row stays.
inline constexpr char kMoveUnchecked[] =  // "无法在源码库中查找此源码，未移动："
    "\xCE\xDE\xB7\xA8\xD4\xDA\xD4\xB4\xC2\xEB\xBF\xE2\xD6\xD0\xB2\xE9\xD5\xD2\xB4\xCB"
    "\xD4\xB4\xC2\xEB\xA3\xAC\xCE\xB4\xD2\xC6\xB6\xAF\xA3\xBA";
// Why, for a chosen file too large to read: "源码文件超过 " and the bound, "64 MB".
inline constexpr char kSourceFileOver[] = "\xD4\xB4\xC2\xEB\xCE\xC4\xBC\xFE\xB3\xAC\xB9\xFD ";
inline constexpr char kChooseFolder[] = "\xC7\xEB\xD1\xA1\xD4\xF1\xC4\xBF\xC2\xBC";  // "请选择目录"
inline constexpr char kImportDone[] = "\xCC\xED\xBC\xD3\xCD\xEA\xB3\xC9!";  // "添加完成!"

// The entry form's file dialog: ".e" files only.
inline constexpr char kSourceFileFilter[] =  // "易语言源码文件（*.e）|*.e"
    "\xD2\xD7\xD3\xEF\xD1\xD4\xD4\xB4\xC2\xEB\xCE\xC4\xBC\xFE\xA3\xA8*.e\xA3\xA9|*.e";

// The calendar words of a date-time text and what a file's time shows instead.
inline constexpr char kYear[] = "\xC4\xEA";    // "年"
inline constexpr char kMonth[] = "\xD4\xC2";   // "月"
inline constexpr char kDay[] = "\xC8\xD5";     // "日"
inline constexpr char kHour[] = "\xCA\xB1";    // "时"
inline constexpr char kMinute[] = "\xB7\xD6";  // "分"
inline constexpr char kSecond[] = "\xC3\xEB";  // "秒"

// The import's progress in the reserved area, and its way out.
inline constexpr char kImporting[] = "\xD5\xFD\xD4\xDA\xB5\xBC\xC8\xEB\xA3\xBA";  // "正在导入："
inline constexpr char kImportFinished[] =
    "\xB5\xBC\xC8\xEB\xCD\xEA\xB3\xC9\xA3\xBA";  // "导入完成："
inline constexpr char kImportStopped[] =         // "导入已停止："
    "\xB5\xBC\xC8\xEB\xD2\xD1\xCD\xA3\xD6\xB9\xA3\xBA";
inline constexpr char kImportStopping[] =  // "正在停止导入……"
    "\xD5\xFD\xD4\xDA\xCD\xA3\xD6\xB9\xB5\xBC\xC8\xEB\xA1\xAD\xA1\xAD";
inline constexpr char kHowToStopImport[] =  // "再按“添加源码”停止导入"
    "\xD4\xD9\xB0\xB4\xA1\xB0\xCC\xED\xBC\xD3\xD4\xB4\xC2\xEB\xA1\xB1\xCD\xA3\xD6\xB9"
    "\xB5\xBC\xC8\xEB";
inline constexpr char kLibraryUnopened[] =  // "源码库无法打开，未导入："
    "\xD4\xB4\xC2\xEB\xBF\xE2\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xA3\xAC\xCE\xB4\xB5\xBC"
    "\xC8\xEB\xA3\xBA";
// Counts: "新增 N 个，已有 M 个" then "，其中 K 个未能读取", "，未能存入 J 个",
// "，无法查重未存入 C 个", "，名称无法保存 S 个", "，无法打开的文件夹 U 个",
// "，无法访问的文件或文件夹 X 个" as far as they are not zero.
inline constexpr char kCountAdded[] = "\xD0\xC2\xD4\xF6 ";                     // "新增 "
inline constexpr char kCountPresent[] = " \xB8\xF6\xA3\xAC\xD2\xD1\xD3\xD0 ";  // " 个，已有 "
inline constexpr char kCountUnit[] = " \xB8\xF6";                              // " 个"
inline constexpr char kCountOfThem[] = "\xA3\xAC\xC6\xE4\xD6\xD0 ";            // "，其中 "
inline constexpr char kCountUnread[] =                                         // " 个未能读取"
    " \xB8\xF6\xCE\xB4\xC4\xDC\xB6\xC1\xC8\xA1";
inline constexpr char kCountNotStored[] =
    "\xA3\xAC\xCE\xB4\xC4\xDC\xB4\xE6\xC8\xEB ";  // "，未能存入 "
// Files whose titles couldn't be checked against the library (a record of it couldn't be
// read): not stored, lest a title be there twice.
inline constexpr char kCountUnchecked[] =  // "，无法查重未存入 "
    "\xA3\xAC\xCE\xDE\xB7\xA8\xB2\xE9\xD6\xD8\xCE\xB4\xB4\xE6\xC8\xEB ";
inline constexpr char kCountUnlisted[] =  // "，无法打开的文件夹 "
    "\xA3\xAC\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xB5\xC4\xCE\xC4\xBC\xFE\xBC\xD0 ";
inline constexpr char kCountNameUnsaved[] =  // "，名称无法保存 "
    "\xA3\xAC\xC3\xFB\xB3\xC6\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6 ";
inline constexpr char kCountUnexamined[] =  // "，无法访问的文件或文件夹 "
    "\xA3\xAC\xCE\xDE\xB7\xA8\xB7\xC3\xCE\xCA\xB5\xC4\xCE\xC4\xBC\xFE\xBB\xF2\xCE\xC4"
    "\xBC\xFE\xBC\xD0 ";
inline constexpr char kEllipsis[] = "\xA1\xAD\xA1\xAD";  // "……"

#endif  // MOYAN_LIBRARY_LIBRARY_TEXTS_H_
