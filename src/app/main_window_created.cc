// MainWindow's created event: the skin, the announcement, the outline and the colour, in
// that order, before the window is first shown.
#include <system_error>
#include <thread>
#include <utility>

#include "app/announcement.h"
#include "app/carried_data.h"
#include "app/main_window.h"
#include "app/skin_setup.h"
#include "app/window_shape.h"
#include "store/attachment.h"
#include "win32/code_page.h"

namespace {

constexpr int kProgramSkin = 13;  // a sky blue, to go with the blue tile and the window colour
constexpr COLORREF kShapeTransparent = RGB(255, 0, 255);
constexpr COLORREF kWindowColour = RGB(77, 166, 222);

// The announcement is read on a worker of its own: the window comes up at once, whatever
// the announcement's server does (answers late, never, or not at all), and 编辑框6 gets the
// announced text when it comes. The worker hands the text to the window's thread and never
// waits for it; the window's thread never waits for the worker.
void read_announcement(HWND window, HWND announcement_box, std::function<std::string()> read_page) {
  try {
    std::thread([window, announcement_box, read_page = std::move(read_page)] {
      std::string announced = announced_text(read_page());
      WindowThread::post(window, [announcement_box, announced = std::move(announced)] {
        SetWindowTextW(announcement_box, win32::widen(announced).c_str());
      });
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: no announcement, as when the page can't be read.
  }
}

}  // namespace

void main_window_created(MainWindow& window) {
  apply_skin(kProgramSkin);
  if (window.platform().read_announcement_page) {
    read_announcement(window.hwnd(), window.control(Control::编辑框6),
                      window.platform().read_announcement_page);
  }
  ByteSet picture;
  if (const std::string_view packed = carried_shape_picture(); !packed.empty()) {
    picture = unpack_attachment(ByteSet(packed.data(), packed.size()));
  }
  set_window_shape(window.hwnd(), picture, kShapeTransparent);
  window.set_background_colour(kWindowColour);
}
