#ifndef MOYAN_LIBRARY_LIBRARY_LISTING_H_
#define MOYAN_LIBRARY_LIBRARY_LISTING_H_

#include <string>

#include "library/library_context.h"
#include "ui/window_port.h"

// The library page: listing a category, moving an entry to another, the list's menu.

// `list_category`: shows the library page and lists every entry whose 类型 is the category,
// byte for byte.
void list_category(WindowPort& window, const LibraryContext& context, const std::string& category);

// `move_entry_to_category`: writes the category into the 类型 of the entry that the
// selected row names (the first entry of that title in store order) and takes the row off
// the list. The list is not refilled.
void move_entry_to_category(WindowPort& window, const LibraryContext& context,
                            const std::string& category);

// `show_entry_menu`: pops up the menu 源码管理 with its submenu 移动到.
void show_entry_menu(WindowPort& window);

#endif  // MOYAN_LIBRARY_LIBRARY_LISTING_H_
