#ifndef MOYAN_APP_CONTROL_ART_H_
#define MOYAN_APP_CONTROL_ART_H_

#include <windows.h>

#include <vector>

#include "app/art/artwork.h"
#include "ui/controls.h"

// The pictures of each image button and picture box, drawn at the control's size.
ButtonLooks looks_of(Control image_button, int width, int height);
std::vector<HBITMAP> picture_of(Control picture_box, int width, int height);
// Picture boxes that open a web page when pressed.
bool is_link_picture(Control picture_box);

#endif  // MOYAN_APP_CONTROL_ART_H_
