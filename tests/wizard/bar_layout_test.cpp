// The parts of a progress bar for a frame and a fill, worked out by hand from the drawing
// rules: a one-pixel frame, the fill from the inner left edge to left + fill (cut at the
// last inner pixel), the rest white, the overall bar's percentage 4 pixels into the rest
// and a fifth of the inner height down.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "wizard/bar_layout.h"

namespace {

bool SameBox(const PixelBox &a, const PixelBox &b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Frame 160 pixels wide and 29 high: inner rows 21 to 47, text row 21 + 27 / 5 = 26.
constexpr int32_t kLeft = 10, kTop = 20, kRight = 170, kBottom = 49;

struct OverallCase {
  const char *name;
  int32_t fill;
  bool hasFill;
  PixelBox fillBox;
  bool hasRest;
  PixelBox restBox;
  const char *text; // null: no text
  int32_t textX;
};

const OverallCase kOverallCases[] = {
    // Empty bar: "0%" five pixels right of the frame's left edge.
    {"empty", 0, false, {}, true, {11, 21, 169, 48}, "0%", 15},
    {"negative fill counts as none", -7, false, {}, true, {11, 21, 169, 48}, "0%", 15},
    // One pixel of fill covers only the border: nothing filled yet, and 100 / 160 is 0.
    {"one pixel", 1, true, {11, 21, 11, 48}, true, {11, 21, 169, 48}, "0%", 15},
    // The percentage comes from the pixels: 80 of 160 is 50%.
    {"half", 80, true, {11, 21, 90, 48}, true, {90, 21, 169, 48}, "50%", 94},
    {"truncating percentage", 17, true, {11, 21, 27, 48}, true, {27, 21, 169, 48}, "10%", 31},
    // One white column is left; its text starts beyond it and is clipped away entirely.
    {"last white column", 158, true, {11, 21, 168, 48}, true, {168, 21, 169, 48}, "98%", 172},
    // The fill reaches the last inner pixel: no white and no text remain.
    {"full", 159, true, {11, 21, 169, 48}, false, {}, nullptr, 0},
    {"beyond full", 1000, true, {11, 21, 169, 48}, false, {}, nullptr, 0},
    {"far beyond full", INT32_MAX, true, {11, 21, 169, 48}, false, {}, nullptr, 0},
};

TEST(OverallBarLayout, PartsAndPercentageForEachFill) {
  for (const OverallCase &c : kOverallCases) {
    SCOPED_TRACE(c.name);
    BarLayout bar;
    LayOutBar(kLeft, kTop, kRight, kBottom, c.fill, true, &bar);
    EXPECT_TRUE(SameBox(bar.frame, {kLeft, kTop, kRight, kBottom}));
    EXPECT_EQ(c.hasFill, bar.hasFill);
    if (c.hasFill) {
      EXPECT_TRUE(SameBox(c.fillBox, bar.fill));
    }
    EXPECT_EQ(c.hasRest, bar.hasRest);
    if (c.hasRest) {
      EXPECT_TRUE(SameBox(c.restBox, bar.rest));
    }
    EXPECT_EQ(c.text != nullptr, bar.hasText);
    if (c.text) {
      EXPECT_STREQ(c.text, bar.text);
      EXPECT_EQ(c.textX, bar.textX);
      EXPECT_EQ(26, bar.textY);
      // Clipped from the text's start to the end of the white part, inner rows only.
      EXPECT_TRUE(SameBox({c.textX, 21, 169, 48}, bar.textClip));
    }
  }
}

TEST(OverallBarLayout, TextRowIsAFifthOfTheInnerHeightDown) {
  const struct {
    int32_t top, bottom, textY;
  } cases[] = {
      {0, 5, 1},       // inner 1..4: 3 / 5 = 0
      {0, 30, 6},      // inner 1..29: 28 / 5 = 5
      {100, 118, 104}, // inner 101..117: 16 / 5 = 3
  };
  for (const auto &c : cases) {
    BarLayout bar;
    LayOutBar(0, c.top, 100, c.bottom, 0, true, &bar);
    EXPECT_EQ(c.textY, bar.textY) << "top " << c.top << " bottom " << c.bottom;
  }
}

TEST(OverallBarLayout, PercentageOfTheFrameWidth) {
  const struct {
    int32_t width, fill;
    const char *text;
  } cases[] = {
      {160, 2, "1%"}, {100, 33, "33%"}, {100, 98, "98%"}, {3, 1, "33%"}, {1000, 998, "99%"},
  };
  for (const auto &c : cases) {
    BarLayout bar;
    LayOutBar(0, 0, c.width, 20, c.fill, true, &bar);
    ASSERT_TRUE(bar.hasText) << c.width << " " << c.fill;
    EXPECT_STREQ(c.text, bar.text) << c.width << " " << c.fill;
  }
}

TEST(OverallBarLayout, FrameAnywhereOnTheClientArea) {
  BarLayout bar;
  LayOutBar(-50, -10, 50, 8, 25, true, &bar);
  EXPECT_TRUE(SameBox({-49, -9, -25, 7}, bar.fill));
  EXPECT_TRUE(SameBox({-25, -9, 49, 7}, bar.rest));
  EXPECT_STREQ("25%", bar.text);
  EXPECT_EQ(-21, bar.textX);
  EXPECT_EQ(-9 + 16 / 5, bar.textY);
}

TEST(FileBarLayout, SameSplitWithoutText) {
  const int32_t fills[] = {0, 1, 80, 158, 159, 500};
  for (int32_t fill : fills) {
    BarLayout plain, overall;
    LayOutBar(kLeft, kTop, kRight, kBottom, fill, false, &plain);
    LayOutBar(kLeft, kTop, kRight, kBottom, fill, true, &overall);
    EXPECT_FALSE(plain.hasText) << fill;
    EXPECT_EQ(overall.hasFill, plain.hasFill) << fill;
    EXPECT_EQ(overall.hasRest, plain.hasRest) << fill;
    EXPECT_TRUE(SameBox(overall.fill, plain.fill) || !plain.hasFill) << fill;
    EXPECT_TRUE(SameBox(overall.rest, plain.rest) || !plain.hasRest) << fill;
  }
}

TEST(FileBarFill, ScaledInUnsigned32BitArithmetic) {
  const struct {
    int32_t width;
    uint32_t done, total, fill;
  } cases[] = {
      {160, 0, 100, 0},
      {160, 50, 100, 80},
      {160, 100, 100, 160},
      {160, 1, 3, 53},
      {160, 5, 0, 0}, // no size: an empty bar
      {160, 0, 0, 0},
      // 200 * 30000000 = 6000000000 wraps to 1705032704, and / 30000000 gives 56.
      {200, 30000000, 30000000, 56},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.fill, FileBarFill(c.width, c.done, c.total))
        << c.width << " " << c.done << " " << c.total;
}

TEST(FileBarFill, DoneEqualToTotalFillsToTheLastInnerPixel) {
  const uint32_t totals[] = {1, 7, 4096, 1000000};
  for (uint32_t total : totals) {
    BarLayout bar;
    LayOutBar(kLeft, 0, kRight, 5, static_cast<int32_t>(FileBarFill(160, total, total)), false,
              &bar);
    EXPECT_TRUE(bar.hasFill);
    EXPECT_FALSE(bar.hasRest);
    EXPECT_EQ(kRight - 1, bar.fill.right) << total;
  }
}

} // namespace
