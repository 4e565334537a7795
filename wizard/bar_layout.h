// Where the parts of a progress bar go for its frame and fill, and what the overall bar's
// percentage says. Every front end draws its bars from these numbers.
#pragma once

#include <cstdint>

#include "wizard/pixel_box.h"

enum { BAR_TEXT_SIZE = 16 };

struct BarLayout {
  PixelBox frame; // the one-pixel black border, the whole rectangle of the placeholder
  bool hasFill;   // the fill may still be empty (a fill of one pixel covers only the border)
  PixelBox fill;
  bool hasRest; // the white, unfilled part; a full bar has none
  PixelBox rest;
  bool hasText; // only the overall bar, and only while it has an unfilled part
  char text[BAR_TEXT_SIZE];
  int32_t textX;
  int32_t textY;
  PixelBox textClip;
};

// Lays out a bar over the frame (left, top, right, bottom) filled `fill` pixels from the
// frame's left edge. withPercent: the overall bar, which carries its percentage.
void LayOutBar(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t fill,
               bool withPercent, BarLayout *out);

// Fill of the per-file bar: frameWidth * done / total in 32-bit unsigned arithmetic (the
// product wraps as it always has), 0 when total is 0.
uint32_t FileBarFill(int32_t frameWidth, uint32_t done, uint32_t total);
