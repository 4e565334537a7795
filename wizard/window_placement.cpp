#include "wizard/window_placement.h"

void PlaceOnDesktop(const PixelBox &desk, int32_t width, int32_t height, int32_t *x, int32_t *y) {
  int32_t top = desk.top + (desk.bottom - desk.top) / 2 - height / 2;
  int32_t left = desk.left + (desk.right - desk.left) / 2 - width / 2;
  if (top + height > desk.bottom - 10)
    top = desk.bottom - 10 - height;
  if (left + width > desk.right - 10)
    left = desk.right - 10 - width;
  if (top < 0)
    top = 1;
  if (left < 0)
    left = 1;
  *x = left;
  *y = top;
}
