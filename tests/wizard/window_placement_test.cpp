// Centring a window on the desktop, clear of the right and bottom edges.
#include <gtest/gtest.h>

#include "wizard/window_placement.h"

namespace {

TEST(PlaceOnDesktop, CentredAndKeptClearOfTheEdges) {
  const struct {
    const char *name;
    PixelBox desk;
    int32_t width, height, x, y;
  } cases[] = {
      {"centred", {0, 0, 1024, 768}, 400, 300, 312, 234},
      {"odd size halves truncate", {0, 0, 1024, 768}, 401, 301, 312, 234},
      {"odd desktop", {0, 0, 1023, 767}, 100, 100, 461, 333},
      {"desktop not at the origin", {100, 50, 900, 650}, 200, 100, 400, 300},
      // Centred at x 7 / y 9 the window would reach into the last 10 pixels.
      {"right and bottom margin", {0, 0, 1024, 768}, 1010, 750, 4, 8},
      {"exactly at the margin", {0, 0, 1024, 768}, 1004, 748, 10, 10},
      {"larger than the desktop", {0, 0, 1024, 768}, 2000, 1000, 1, 1},
      // Negative places become 1, wherever the desktop starts.
      {"desktop left of the origin", {-1024, 0, 0, 768}, 400, 300, 1, 234},
  };
  for (const auto &c : cases) {
    int32_t x = -999, y = -999;
    PlaceOnDesktop(c.desk, c.width, c.height, &x, &y);
    EXPECT_EQ(c.x, x) << c.name;
    EXPECT_EQ(c.y, y) << c.name;
  }
}

} // namespace
