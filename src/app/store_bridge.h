#ifndef MOYAN_APP_STORE_BRIDGE_H_
#define MOYAN_APP_STORE_BRIDGE_H_

// Closes every open library store (the menu item "退出小助手" does so before the window goes).
void close_all_stores();

#endif  // MOYAN_APP_STORE_BRIDGE_H_
