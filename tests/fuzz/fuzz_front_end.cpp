#include "tests/fuzz/fuzz_front_end.h"

#include "engine/overall_progress.h"
#include "payload/front_end.h"

#include <cstdio>

FuzzFrontRecord fuzzFront;

static int waitToken; // any address will do as the "previous cursor"

void ResetFuzzFront() {
  fuzzFront = FuzzFrontRecord();
  fuzzFront.fileBarWidth = 200;
}

void SetStatusLine(const char *) {}

void ShowErrorBox(const char *, const char *caption) {
  ++fuzzFront.errorBoxes;
  std::snprintf(fuzzFront.lastCaption, sizeof fuzzFront.lastCaption, "%s", caption);
}

void DrawOverallProgress(FrontDc, FILE *stream) {
  UpdateOverallFill(stream, 400);
}

void DrawFileProgress(FrontDc, uint32_t done, uint32_t total) {
  if (fuzzFront.progressCalls > 0 && done <= fuzzFront.lastDone)
    fuzzFront.progressRegressed = true;
  if (fuzzFront.progressStep > 0 && done % fuzzFront.progressStep != 0)
    fuzzFront.progressOffStep = true;
  ++fuzzFront.progressCalls;
  fuzzFront.lastDone = done;
  fuzzFront.lastTotal = total;
}

int FileProgressWidth() {
  return fuzzFront.fileBarWidth;
}

void WipeFileProgress() {
  ++fuzzFront.wipes;
}

FrontCursor ShowWaitCursor() {
  ++fuzzFront.waitCursors;
  return &waitToken;
}

void RestoreCursor(FrontCursor previous) {
  if (previous == &waitToken)
    ++fuzzFront.restoredCursors;
}
