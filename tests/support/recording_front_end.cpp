#include "tests/support/recording_front_end.h"

#include "engine/overall_progress.h"
#include "payload/front_end.h"

FrontEndRecord frontEndRecord;

void ResetFrontEndRecord() {
  frontEndRecord = FrontEndRecord();
}

std::string LastErrorCaption() {
  return frontEndRecord.errorBoxes.empty() ? std::string()
                                           : frontEndRecord.errorBoxes.back().caption;
}

void SetStatusLine(const char *text) {
  frontEndRecord.statusLines.push_back(text);
}

void ShowErrorBox(const char *text, const char *caption) {
  frontEndRecord.errorBoxes.push_back({text, caption});
}

void DrawOverallProgress(FrontDc, FILE *stream) {
  frontEndRecord.overallPositions.push_back(stream ? std::ftell(stream) : -1);
  UpdateOverallFill(stream, frontEndRecord.overallBarWidth);
  if (stream && frontEndRecord.onOverallProgress)
    frontEndRecord.onOverallProgress();
}

void DrawFileProgress(FrontDc, uint32_t done, uint32_t total) {
  frontEndRecord.fileProgress.push_back({done, total});
}

int FileProgressWidth() {
  return frontEndRecord.fileBarWidth;
}

void WipeFileProgress() {
  ++frontEndRecord.wipes;
}

FrontCursor ShowWaitCursor() {
  ++frontEndRecord.waitCursors;
  return &frontEndRecord;
}

void RestoreCursor(FrontCursor previous) {
  if (previous == &frontEndRecord)
    ++frontEndRecord.restoredCursors;
}
