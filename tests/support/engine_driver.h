// Drives one install run through the engine's operations the way the wizard does from its
// Install button, for tests that check what a run leaves behind.
#pragma once

#include <string>

enum RunEnd {
  RUN_INSTALLED,     // the pump finished with every stream
  RUN_FOLDER_FAILED, // EnsureInstallDir refused; nothing rolled back
  RUN_BEGIN_FAILED,  // BeginExtraction refused; nothing rolled back
  RUN_PUMP_FAILED,   // a pump result 0 or 2; rolled back
  RUN_NO_STREAM,     // the pump finished without a stream: error [14], rolled back
  RUN_ABORTED        // aborted after a slice: rolled back and reset
};

struct RunOptions {
  std::string dest;
  bool makeBackups = true;
  bool keepSettings = true;
  int abortAfterSlices = -1; // abort once this many slices have returned "more to do"
};

struct RunResult {
  RunEnd end;
  int lastPumpResult;
  int slices;
};

// The image the engine installs from (through the platform operations' own image path).
void UseImage(const std::string &imagePath);

RunResult DriveInstall(const RunOptions &options);

const char *RunEndName(RunEnd end);
