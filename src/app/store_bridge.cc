#include "app/store_bridge.h"

#ifdef MOYAN_HAVE_STORE
#include "store/store.h"
#endif

void close_all_stores() {
#ifdef MOYAN_HAVE_STORE
  store_close_all();
#endif
}
