// A rectangle in pixels as GDI takes it: right and bottom lie just outside.
#pragma once

#include <cstdint>

struct PixelBox {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
