// The tests' front end: keeps every call so that a test can assert what the core told the
// user, and lets a test choose the bar width the decoder sees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ErrorBoxCall {
  std::string text;
  std::string caption;
};

struct FileProgressCall {
  uint32_t done;
  uint32_t total;
};

struct FrontEndRecord {
  std::vector<std::string> statusLines;
  std::vector<ErrorBoxCall> errorBoxes;
  std::vector<FileProgressCall> fileProgress;
  std::vector<long> overallPositions; // read position of the stream, or -1 for none
  int wipes = 0;
  int waitCursors = 0;
  int restoredCursors = 0;
  int fileBarWidth = 200;
  int overallBarWidth = 400;
  // Called at every DrawOverallProgress with a stream (end of a slice), for tests that
  // act between slices.
  void (*onOverallProgress)() = nullptr;
};

extern FrontEndRecord frontEndRecord;

// Clears the record and sets the defaults back.
void ResetFrontEndRecord();

// The caption of the last error box, or "" when none was shown.
std::string LastErrorCaption();
