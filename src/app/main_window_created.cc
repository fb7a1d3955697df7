#include "app/main_window.h"

void main_window_created(MainWindow& window) {
  // The skin is attached first, before anything else touches the window; then the
  // announcement is read into 编辑框6 and the window gets its rounded outline. Those
  // steps join here in that order; until then 编辑框6 stays empty.
  window.set_background_colour(RGB(77, 166, 222));
}
