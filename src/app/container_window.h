#ifndef MOYAN_APP_CONTAINER_WINDOW_H_
#define MOYAN_APP_CONTAINER_WINDOW_H_

#include <windows.h>

// A window that holds controls: a page of 选择夹1, 选择夹1 itself, or a group box (a frame
// with its caption: the system's group box, lying under the controls it holds, so the look
// the skin gives group boxes reaches it too). It paints its background colour, gives its check
// boxes and labels that background, and passes its controls' notifications (WM_COMMAND, WM_NOTIFY)
// on to the top-level window, where the handlers are. A group box moves the top-level window when
// it is pressed; a page doesn't.
bool register_container_class(HINSTANCE instance);

enum class ContainerKind { kPage, kGroupBox };

// The font (for a group box's caption; WM_GETFONT gives it) is not owned.
HWND create_container(HWND parent, int id, const RECT& place, ContainerKind kind,
                      const wchar_t* caption, HFONT font, COLORREF background);

#endif  // MOYAN_APP_CONTAINER_WINDOW_H_
