#include "engine/file_policy.h"

#include "engine/install_state.h"
#include "engine/path_parts.h"
#include "engine/platform_files.h"
#include "payload/front_end.h"

#include <cstring>

bool IsSettingsFile(const char *targetPath) {
  return std::strstr(PathBaseName(targetPath), ".ini") != nullptr;
}

// Creates the backup folder of this run on first use; backupDir then ends in a separator.
static bool EnsureBackupDir() {
  InstallState &s = installState;
  if (s.backupDir[0] != '\0')
    return true;
  char folder[BACKUP_DIR_SIZE];
  if (FormatText(folder, sizeof folder, "%s%cbackup", s.destDir, PATH_SEPARATOR) &&
      (platformOps.exists(folder) || platformOps.makeFolder(folder)) &&
      FormatText(s.backupDir, sizeof s.backupDir, "%s%c", folder, PATH_SEPARATOR))
    return true;
  s.backupDir[0] = '\0';
  ShowErrorBox("There seems to be a problem creating the backup directory.\n\n"
               "Please try installing to a different directory!",
               "Vorq Installation Error [6]");
  return false;
}

int PrepareTarget(const char *targetPath) {
  InstallState &s = installState;
  if (!platformOps.exists(targetPath))
    return PREPARE_INSTALL;
  platformOps.clearAttributes(targetPath);

  if (s.iniDecision != 2 && IsSettingsFile(targetPath)) {
    if (s.iniDecision == 1)
      return PREPARE_KEEP;
    if (s.keepSettings) {
      s.iniDecision = 1;
      return PREPARE_KEEP;
    }
    s.iniDecision = 2;
  }
  if (!s.makeBackups)
    return PREPARE_INSTALL;
  if (!EnsureBackupDir())
    return PREPARE_FAILED;

  // The backup keeps the target's name and extension.
  bool named =
      FormatText(scratchBuf, sizeof scratchBuf, "%s%s", s.backupDir, PathBaseName(targetPath));
  if (named) {
    platformOps.clearAttributes(scratchBuf);
    DeleteFileTwice(scratchBuf);
  }
  if (!named || !platformOps.moveFile(targetPath, scratchBuf)) {
    ShowErrorBox("There seems to be a problem backing up your original files.\n\n"
                 "Please try installing to a different directory!",
                 "Vorq Installation Error [7]");
    return PREPARE_FAILED;
  }
  return PREPARE_INSTALL;
}
