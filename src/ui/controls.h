#ifndef MOYAN_UI_CONTROLS_H_
#define MOYAN_UI_CONTROLS_H_

// The controls of MainWindow by the names the rest of the program uses for them, each with
// its role. The value of each name is also its child-window id offset in the window.
enum class Control {
  kMainWindow,  // MainWindow itself, as a container

  // Directly on MainWindow.
  图形按钮14,  // category button 系统工具: lists that category
  图形按钮15,  // category button 网络相关
  图形按钮16,  // category button 模块控件
  图形按钮17,  // category button 行业控件
  图形按钮18,  // category button 游戏娱乐
  图形按钮19,  // category button 多媒体类
  图形按钮20,  // category button 数据库类
  图形按钮21,  // category button 图形图像
  选择夹1,     // the page container: library, search and management pages, no tab headers
  图形按钮9,   // contact picture: opens the contact address around the announced number
  按钮1,       // push button "软件客服": out of sight, no handler
  图形按钮12,  // small icon picture: out of sight, no handler
  编辑框6,     // announcement box: holds the announced contact number, out of sight
  编辑框4,     // an edit box out of sight, holds nothing the program reads
  图片框8,     // small blue tile: out of sight, no handler
  图形按钮23,  // shows the management page (源码管理)
  图形按钮22,  // shows the search page (源码搜索)
  图形按钮13,  // close picture: closes MainWindow without closing stores
  图形按钮11,  // minimise picture: out of sight, no handler
  图形按钮10,  // menu picture: pops up the menu "菜单" with "退出小助手"

  // Library page (page 0 of 选择夹1).
  标签1,        // the column headings above the result list (it has no header of its own)
  超级列表框1,  // the result list: six columns id, Code, Size, Star, Time and the hidden Network
  透明标签7,    // "QQ客服", names the contact picture beside it

  // Search page (page 1).
  图片框1,    // the logo
  编辑框1,    // the search keyword
  图形按钮1,  // the search button: runs a local or a web search
  选择框1,    // "本地搜索": search the library (checked at start)
  选择框2,    // "网络搜索": search the web; the two boxes clear each other
  分组框1,    // "友情链接": holds the six link pictures
  分组框2,    // "关于小助手": holds the about text
  图片框2,    // link banner: the programming language's community site
  图片框3,    // link banner: the programming language's vendor site
  图片框4,    // link banner: the source site
  图片框5,    // link banner: the maker's contact address
  图片框6,    // the same contact banner
  图片框7,    // the same contact banner
  透明标签1,  // the about text

  // Management page (page 2).
  分组框3,      // "本地源码管理": the import group
  分组框4,      // "源码管理": the entry form
  分组框5,      // "预留区域": a reserved area with its large caption
  通用对话框1,  // the open-file dialog of the form and the import (no window of its own)
  选择框3,      // import choice "选择文件夹": one folder
  选择框5,      // import choice "选择单一文件": one file
  选择框4,      // import choice "选择电脑中的所有源码": every fixed disk
  图形按钮3,    // "更新数据": says the function is not available
  图形按钮2,    // "添加源码": runs the chosen import
  透明标签2,    // caption "源码标题："
  编辑框2,      // form: the entry's title
  透明标签3,    // caption "源码大小："
  编辑框3,      // form: the entry's size
  透明标签4,    // caption "源码星级："
  组合框1,  // form: the rating list (☆☆☆☆☆ … ★★★★★), opened by 图形按钮7
  标签2,    // form: shows the chosen rating over 组合框1's text part
  图形按钮7,  // opens 组合框1's list
  透明标签6,  // caption "源码类型："
  组合框2,    // form: the category list, opened by 图形按钮8
  标签3,      // form: shows the chosen category over 组合框2's text part
  图形按钮8,  // opens 组合框2's list
  透明标签5,  // caption "更新时间："
  编辑框5,    // form: the entry's update time
  图形按钮4,  // "选择源码": chooses the file the form stores
  图形按钮5,  // "确定修改": adds the form's entry to the library
  图形按钮6,  // "取消修改": shows the library page again
  透明标签9,  // the reserved area's large caption "预留区域"
  导入进度,   // in the reserved area in the caption's place once an import has run: its
              // progress, how to stop it, and how it ended
  kCount
};

constexpr int kControlCount = static_cast<int>(Control::kCount);

// Pages of 选择夹1.
constexpr int kLibraryPage = 0;
constexpr int kSearchPage = 1;
constexpr int kManagementPage = 2;
constexpr int kPageCount = 3;

// The two hidden pop-up menus.
enum class PopupMenu {
  kSourceManagement,  // "源码管理" with "移动到" and its categories: the result list's menu
  kMainMenu,          // "菜单" with "退出小助手": the menu of 图形按钮10
};

// Items of the hidden menus; each raises "menu item chosen" with its command.
enum class MenuCommand {
  kNone,
  kMoveToSystemTools,   // 移动到 → 系统工具
  kMoveToGameSoftware,  // 移动到 → 游戏软件
  kMoveToIndustry,      // 移动到 → 行业控件
  kMoveToModules,       // 移动到 → 模块控件
  kMoveToGraphics,      // 移动到 → 图形图像
  kMoveToMultimedia,    // 移动到 → 多媒体类
  kMoveToDatabase,      // 移动到 → 数据库类
  kExitHelper,          // 退出小助手
};

#endif  // MOYAN_UI_CONTROLS_H_
