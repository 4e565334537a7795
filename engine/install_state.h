// The one record of an install: the user's choices and the state of the current run, and
// the fixed table of the eleven files a run installs.
#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/target_files.h"

enum {
  DEST_DIR_SIZE = 300, // at most 299 characters and the terminator
  TEMP_PATH_SIZE = 300,
  BACKUP_DIR_SIZE = DEST_DIR_SIZE + 8, // destDir, "\backup\" and the terminator
  TARGET_PATH_SIZE = 313,              // destDir, a separator and the longest name
  IMAGE_PATH_SIZE = 900,
  SCRATCH_SIZE = 900,
  NAME_SIZE = 256,
  EXT_SIZE = 256
};

// What PrepareTarget decided for a target of this run; roll-back deletes only what the
// run wrote.
enum TargetTrace { TRACE_UNTOUCHED = 0, TRACE_WRITTEN = 1, TRACE_KEPT = 3 };

struct InstallState {
  // The user's choices; ResetInstallState leaves them alone.
  char destDir[DEST_DIR_SIZE];
  int32_t makeBackups;
  int32_t keepSettings;
  int32_t createShortcuts;
  int32_t readHelpAtEnd;
  int32_t launchAtEnd;

  // The state of the current run.
  int32_t fileIndex;
  FILE *image;
  FILE *tempOut;
  char tempPath[TEMP_PATH_SIZE];
  int32_t tempCreated; // tempPath names a file this run created and has not deleted yet
  int32_t matchPos;
  int32_t sliceCount;
  int32_t iniDecision;
  char backupDir[BACKUP_DIR_SIZE];
  int32_t imageSize;
  int32_t overallFill;
  int32_t dirCreated;
  int32_t abortRequested;
  uint8_t targetTrace[TARGET_COUNT]; // TargetTrace per index
};

extern InstallState installState;

// Working buffers shared by the engine's operations; contents live within one operation,
// except the split name and extension of the current target.
extern char targetPathBuf[TARGET_PATH_SIZE];
extern char imagePathBuf[IMAGE_PATH_SIZE];
extern char scratchBuf[SCRATCH_SIZE];
extern char pathName[NAME_SIZE];
extern char pathExt[EXT_SIZE];

// The process-wide shell flag, kept beside the record; the engine does not use it.
extern int32_t newShell;

void ResetInstallState();
void BuildTargetPath(char *out, int32_t index);
int EnsureInstallDir();
void RollBackInstall();

// Deletes a file, with a second attempt when the first fails. True when it is gone.
bool DeleteFileTwice(const char *path);
