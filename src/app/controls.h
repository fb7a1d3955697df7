#ifndef MOYAN_APP_CONTROLS_H_
#define MOYAN_APP_CONTROLS_H_

// The controls of MainWindow by the names the rest of the program uses for them.
// The value of each name is also its child-window id offset (see kFirstControlId).
enum class Control {
  kMainWindow,  // MainWindow itself, as a container
  // Directly on MainWindow.
  图形按钮14,
  图形按钮15,
  图形按钮16,
  图形按钮17,
  图形按钮18,
  图形按钮19,
  图形按钮20,
  图形按钮21,
  选择夹1,
  图形按钮9,
  按钮1,
  图形按钮12,
  编辑框6,
  编辑框4,
  图片框8,
  图形按钮23,
  图形按钮22,
  图形按钮13,
  图形按钮11,
  图形按钮10,
  // Library page (page 0 of 选择夹1).
  标签1,
  超级列表框1,
  透明标签7,
  // Search page (page 1).
  图片框1,
  编辑框1,
  图形按钮1,
  选择框1,
  选择框2,
  分组框1,
  分组框2,
  图片框2,
  图片框3,
  图片框4,
  图片框5,
  图片框6,
  图片框7,
  透明标签1,
  // Management page (page 2).
  分组框3,
  分组框4,
  分组框5,
  通用对话框1,
  选择框3,
  选择框5,
  选择框4,
  图形按钮3,
  图形按钮2,
  透明标签2,
  编辑框2,
  透明标签3,
  编辑框3,
  透明标签4,
  组合框1,
  标签2,
  图形按钮7,
  透明标签6,
  组合框2,
  标签3,
  图形按钮8,
  透明标签5,
  编辑框5,
  图形按钮4,
  图形按钮5,
  图形按钮6,
  透明标签9,
  kCount
};

constexpr int kControlCount = static_cast<int>(Control::kCount);

// Pages of 选择夹1.
constexpr int kLibraryPage = 0;
constexpr int kSearchPage = 1;
constexpr int kManagementPage = 2;

// The two hidden pop-up menus.
enum class PopupMenu { kSourceManagement, kMainMenu };

// Items of the hidden menus; each raises "menu item chosen" with its command.
enum class MenuCommand {
  kNone,
  kMoveToSystemTools,
  kMoveToGameSoftware,
  kMoveToIndustry,
  kMoveToModules,
  kMoveToGraphics,
  kMoveToMultimedia,
  kMoveToDatabase,
  kExitHelper,
};

#endif  // MOYAN_APP_CONTROLS_H_
