#include "engine/temp_file.h"

#include "engine/install_state.h"
#include "engine/path_parts.h"
#include "engine/platform_files.h"

#include <ctime>

bool FormatTempName(char *out, unsigned size, const char *folder, int attempt, unsigned salt) {
  if (attempt == 0)
    return FormatText(out, size, "%svorq.tmp", folder);
  // An odd multiplier walks all 65536 values before one comes again.
  unsigned number = (salt + static_cast<unsigned>(attempt) * 40503u) & 0xFFFFu;
  return FormatText(out, size, "%svorq%04X.tmp", folder, number);
}

bool CreateTempFile() {
  InstallState &s = installState;
  char folder[TEMP_PATH_SIZE];
  unsigned length = platformOps.tempFolder(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder)
    CopyText(folder, sizeof folder, fallbackTempFolder);
  // Fresh names differ between runs and streams, so that names planted ahead of a run
  // cannot all be guessed.
  static unsigned calls;
  unsigned salt = static_cast<unsigned>(std::time(nullptr)) ^
                  static_cast<unsigned>(std::clock()) * 2654435761u ^ ++calls * 7919u;
  for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
    if (!FormatTempName(s.tempPath, sizeof s.tempPath, folder, attempt, salt))
      return false;
    FILE *file = nullptr;
    int made = platformOps.createNewFile(s.tempPath, &file);
    if (made == NEW_FILE_CREATED) {
      s.tempOut = file;
      s.tempCreated = 1;
      return true;
    }
    if (made != NEW_FILE_NAME_TAKEN)
      return false;
  }
  return false;
}

void DeleteTempFile() {
  InstallState &s = installState;
  if (s.tempCreated && DeleteFileTwice(s.tempPath))
    s.tempCreated = 0;
}
