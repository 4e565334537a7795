#include "tests/support/engine_driver.h"

#include "engine/extraction.h"
#include "engine/install_state.h"
#include "engine/platform_files.h"
#include "engine/status_text.h"
#include "payload/front_end.h"

#include <cstring>

static std::string drivenImage;

static unsigned DrivenImagePath(char *out, unsigned size) {
  if (drivenImage.size() + 1 > size)
    return 0;
  std::memcpy(out, drivenImage.c_str(), drivenImage.size() + 1);
  return static_cast<unsigned>(drivenImage.size());
}

void UseImage(const std::string &imagePath) {
  drivenImage = imagePath;
  platformOps.ownImagePath = DrivenImagePath;
}

RunResult DriveInstall(const RunOptions &options) {
  InstallState &s = installState;
  std::snprintf(s.destDir, sizeof s.destDir, "%s", options.dest.c_str());
  s.makeBackups = options.makeBackups;
  s.keepSettings = options.keepSettings;
  s.createShortcuts = 0;

  ResetInstallState();
  ShowStatusText();
  DrawOverallProgress(nullptr, nullptr);
  if (EnsureInstallDir() != 1)
    return {RUN_FOLDER_FAILED, -1, 0};
  if (!BeginExtraction())
    return {RUN_BEGIN_FAILED, -1, 0};

  int slices = 0;
  for (;;) {
    int result = PumpExtraction();
    if (result == PUMP_MORE) {
      if (++slices == options.abortAfterSlices) {
        RollBackInstall();
        ResetInstallState();
        return {RUN_ABORTED, result, slices};
      }
      continue;
    }
    if (result != PUMP_DONE) {
      RollBackInstall();
      return {RUN_PUMP_FAILED, result, slices};
    }
    if (!CheckStreamsFound())
      return {RUN_NO_STREAM, result, slices};
    return {RUN_INSTALLED, result, slices};
  }
}

const char *RunEndName(RunEnd end) {
  static const char *const names[] = {"installed",   "folder failed", "begin failed",
                                      "pump failed", "no stream",     "aborted"};
  return names[end];
}
