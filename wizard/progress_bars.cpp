// The two progress bars, painted straight onto the wizard over its hidden placeholders
// 171 (per file) and 173 (overall). The geometry comes from LayOutBar; this only draws.
#include <windows.h>

#include <cstring>

#include "engine/install_state.h"
#include "engine/overall_progress.h"
#include "payload/front_end.h"
#include "wizard/app_handles.h"
#include "wizard/bar_layout.h"
#include "wizard/progress_bars.h"

namespace {

enum { FILE_BAR_ID = 171, OVERALL_BAR_ID = 173 };

const COLORREF overallFillColour = RGB(0, 70, 140);
const COLORREF fileFillColour = RGB(0, 200, 100);
const COLORREF percentColour = RGB(255, 0, 0);
const COLORREF percentBackground = RGB(255, 255, 255);

RECT ToRect(const PixelBox &box) {
  RECT rect = {box.left, box.top, box.right, box.bottom};
  return rect;
}

// The placeholder's window rectangle, in screen coordinates; false when it is missing.
bool PlaceholderFrame(int id, RECT *frame) {
  HWND placeholder = GetDlgItem(wizardWindow, id);
  return placeholder && GetWindowRect(placeholder, frame);
}

// Lays out the bar over the frame, converted to the wizard's client coordinates.
void LayOutOnWizard(RECT frame, int32_t fill, bool withPercent, BarLayout *bar) {
  POINT topLeft = {frame.left, frame.top};
  POINT bottomRight = {frame.right, frame.bottom};
  ScreenToClient(wizardWindow, &topLeft);
  ScreenToClient(wizardWindow, &bottomRight);
  LayOutBar(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, fill, withPercent, bar);
}

void DrawFrame(HDC dc, const BarLayout &bar) {
  const RECT frame = ToRect(bar.frame);
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void DrawFill(HDC dc, const BarLayout &bar, COLORREF colour) {
  if (!bar.hasFill)
    return;
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT fill = ToRect(bar.fill);
  FillRect(dc, &fill, brush);
  DeleteObject(brush);
}

void DrawRest(HDC dc, const BarLayout &bar) {
  if (!bar.hasRest)
    return;
  const RECT rest = ToRect(bar.rest);
  FillRect(dc, &rest, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!bar.hasText)
    return;
  const COLORREF oldText = SetTextColor(dc, percentColour);
  const COLORREF oldBackground = SetBkColor(dc, percentBackground);
  const RECT clip = ToRect(bar.textClip);
  ExtTextOutA(dc, bar.textX, bar.textY, ETO_CLIPPED, &clip, bar.text,
              static_cast<UINT>(std::strlen(bar.text)), nullptr);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBackground);
}

} // namespace

void DrawOverallProgress(FrontDc dc, FILE *stream) {
  ReleaseFileBarDc();
  RECT frame = {};
  const bool haveFrame = PlaceholderFrame(OVERALL_BAR_ID, &frame);
  // The fill follows the stream even when nothing can be drawn.
  UpdateOverallFill(stream, frame.right - frame.left);
  if (!haveFrame)
    return;
  BarLayout bar;
  LayOutOnWizard(frame, installState.overallFill, true, &bar);

  HDC target = static_cast<HDC>(dc);
  const bool ownDc = target == nullptr;
  if (ownDc)
    target = GetDC(wizardWindow);
  if (!target)
    return;
  DrawFrame(target, bar);
  DrawFill(target, bar, GetNearestColor(target, overallFillColour));
  DrawRest(target, bar);
  if (ownDc)
    ReleaseDC(wizardWindow, target);
}

// The decoder redraws the per-file bar up to once per pixel while a stream is decoded,
// all inside one pump slice; one device context serves those redraws (under Wine each
// GetDC asks the server for the window's visible region). It is given back at the end of
// the stream (WipeFileProgress) and before anything that may enter a message loop or
// paint: the overall bar's redraw at the end of a slice and the error box.
namespace {
HDC heldFileBarDc = nullptr;
}

void ReleaseFileBarDc() {
  if (heldFileBarDc)
    ReleaseDC(wizardWindow, heldFileBarDc);
  heldFileBarDc = nullptr;
}

void DrawFileProgress(FrontDc dc, uint32_t done, uint32_t total) {
  HDC target = static_cast<HDC>(dc);
  if (!target) {
    if (!heldFileBarDc)
      heldFileBarDc = GetDC(wizardWindow);
    target = heldFileBarDc;
  }
  if (!target)
    return;
  RECT frame;
  if (PlaceholderFrame(FILE_BAR_ID, &frame)) {
    const uint32_t fill = FileBarFill(frame.right - frame.left, done, total);
    BarLayout bar;
    LayOutOnWizard(frame, static_cast<int32_t>(fill), false, &bar);
    DrawFrame(target, bar);
    DrawFill(target, bar, fileFillColour);
    DrawRest(target, bar);
  }
}
