// The line-art emblems of the category and page buttons, as shapes.
#ifndef MOYAN_APP_ART_EMBLEMS_H_
#define MOYAN_APP_ART_EMBLEMS_H_

#include "app/art/artwork.h"
#include "app/art/canvas.h"

// The emblem of a category or page button (or the magnifier for kSearch), drawn in a
// square of `size` pixels centred on (cx, cy). Null shape for arts without an emblem.
Shape button_emblem(ButtonArt art, float cx, float cy, float size);

#endif  // MOYAN_APP_ART_EMBLEMS_H_
