#include "app/store_bridge.h"

#include "store/store.h"

void close_all_stores() {
  store_close_all();
}
