// The fuzz targets' front end: no allocation per call, only what the targets assert on.
#pragma once

#include <cstdint>

enum { CAPTION_SIZE = 64 };

struct FuzzFrontRecord {
  int errorBoxes;
  char lastCaption[CAPTION_SIZE];
  int wipes;
  int progressCalls;
  uint32_t lastDone;      // done of the latest DrawFileProgress
  uint32_t lastTotal;     // total of the latest DrawFileProgress
  bool progressRegressed; // a call whose done did not grow past the one before
  uint32_t progressStep;  // when set, every done must be a multiple of it
  bool progressOffStep;
  int fileBarWidth; // what FileProgressWidth reports
  int waitCursors;
  int restoredCursors;
};

extern FuzzFrontRecord fuzzFront;

// Clears the record; the bar width goes back to 200.
void ResetFuzzFront();
