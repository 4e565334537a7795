// Where a top-level window goes on the desktop.
#pragma once

#include <cstdint>

#include "wizard/pixel_box.h"

// The top-left corner for a window of this size, centred on the desktop, kept 10 pixels
// clear of its right and bottom edges and never left of or above pixel 1.
void PlaceOnDesktop(const PixelBox &desk, int32_t width, int32_t height, int32_t *x, int32_t *y);
