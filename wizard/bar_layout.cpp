#include "wizard/bar_layout.h"

#include <cstdio>

void LayOutBar(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t fill,
               bool withPercent, BarLayout *out) {
  *out = BarLayout();
  out->frame = {left, top, right, bottom};
  const int32_t innerTop = top + 1;
  const int32_t innerBottom = bottom - 1;
  const int32_t width = right - left;

  int32_t restLeft = left + 1;
  if (fill > 0) {
    // Wide arithmetic: a fill far beyond the frame only means a full bar.
    const int64_t fillEnd = static_cast<int64_t>(left) + fill;
    out->hasFill = true;
    if (fillEnd >= static_cast<int64_t>(right) - 1) {
      out->fill = {left + 1, innerTop, right - 1, innerBottom};
      return;
    }
    out->fill = {left + 1, innerTop, static_cast<int32_t>(fillEnd), innerBottom};
    restLeft = static_cast<int32_t>(fillEnd);
  }
  out->hasRest = true;
  out->rest = {restLeft, innerTop, right - 1, innerBottom};
  if (!withPercent)
    return;

  out->hasText = true;
  // An unfilled part after a fill means width > fill + 1 > 0, so the division is safe.
  if (fill > 0)
    std::snprintf(out->text, sizeof out->text, "%d%%",
                  static_cast<int>(static_cast<int64_t>(fill) * 100 / width));
  else
    std::snprintf(out->text, sizeof out->text, "0%%");
  out->textX = restLeft + 4;
  out->textY = innerTop + (innerBottom - innerTop) / 5;
  out->textClip = {out->textX, innerTop, right - 1, innerBottom};
}

uint32_t FileBarFill(int32_t frameWidth, uint32_t done, uint32_t total) {
  if (total == 0)
    return 0;
  return static_cast<uint32_t>(frameWidth) * done / total;
}
