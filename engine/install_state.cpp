#include "engine/install_state.h"

#include "engine/path_parts.h"
#include "engine/platform_files.h"
#include "engine/temp_file.h"
#include "payload/front_end.h"
#include "payload/marker.h"

#include <cstring>

InstallState installState;
int32_t newShell;

char targetPathBuf[TARGET_PATH_SIZE];
char imagePathBuf[IMAGE_PATH_SIZE];
char scratchBuf[SCRATCH_SIZE];
char pathName[NAME_SIZE];
char pathExt[EXT_SIZE];

void ResetInstallState() {
  InstallState &s = installState;
  s.fileIndex = 0;
  s.image = nullptr;
  s.tempOut = nullptr;
  s.tempPath[0] = '\0';
  s.tempCreated = 0;
  s.matchPos = 0;
  s.sliceCount = 0;
  s.iniDecision = 0;
  s.backupDir[0] = '\0';
  s.imageSize = 0;
  s.overallFill = 0;
  s.dirCreated = 0;
  s.abortRequested = 0;
  std::memset(s.targetTrace, TRACE_UNTOUCHED, sizeof s.targetTrace);
  targetPathBuf[0] = '\0';
  FillPayloadMarker();
}

void BuildTargetPath(char *out, int32_t index) {
  out[0] = '\0';
  if (index < 0 || index >= TARGET_COUNT)
    return;
  FormatText(out, TARGET_PATH_SIZE, "%s%c%s", installState.destDir, PATH_SEPARATOR,
             TargetFileTable[index]);
}

int EnsureInstallDir() {
  if (platformOps.exists(installState.destDir))
    return 1;
  if (!platformOps.makeFolder(installState.destDir)) {
    ShowErrorBox("There seems to be a problem creating the directory you specified.\n\n"
                 "Please try using a different directory name!",
                 "Vorq Installation Error [1]");
    return 2;
  }
  installState.dirCreated = 1;
  return 1;
}

bool DeleteFileTwice(const char *path) {
  if (platformOps.deleteFile(path))
    return true;
  return platformOps.deleteFile(path); // the second attempt
}

// Deletes the target of an index if this run wrote it; what the run kept or never
// reached belongs to the user.
static void RemoveWrittenTarget(int32_t index) {
  if (installState.targetTrace[index] != TRACE_WRITTEN)
    return;
  BuildTargetPath(scratchBuf, index);
  if (scratchBuf[0] != '\0')
    DeleteFileTwice(scratchBuf);
  installState.targetTrace[index] = TRACE_UNTOUCHED;
}

void RollBackInstall() {
  InstallState &s = installState;
  if (s.tempOut) {
    std::fclose(s.tempOut);
    s.tempOut = nullptr;
  }
  if (s.image) {
    std::fclose(s.image);
    s.image = nullptr;
  }
  DeleteTempFile();

  // The stream being decoded when a run failed is not yet counted in fileIndex; its
  // partly written target goes as well.
  if (s.fileIndex >= 0 && s.fileIndex < TARGET_COUNT)
    RemoveWrittenTarget(s.fileIndex);
  while (s.fileIndex > 0) {
    --s.fileIndex;
    if (s.fileIndex < TARGET_COUNT)
      RemoveWrittenTarget(s.fileIndex);
  }
  s.fileIndex = 0;

  if (s.dirCreated) {
    if (!platformOps.removeFolder(s.destDir))
      platformOps.removeFolder(s.destDir);
    s.dirCreated = 0;
  }
}
