#include "engine/status_text.h"

#include "engine/install_state.h"
#include "engine/path_parts.h"
#include "payload/front_end.h"

static void ShowTargetText(const char *format) {
  BuildTargetPath(scratchBuf, installState.fileIndex);
  SplitFileName(scratchBuf, pathName, sizeof pathName, pathExt, sizeof pathExt);
  FormatText(scratchBuf, sizeof scratchBuf, format, pathName, pathExt);
  SetStatusLine(scratchBuf);
}

void ShowStatusText() {
  if (installState.overallFill > 0)
    ShowTargetText("Scanning file: %s%s");
  else
    SetStatusLine("Scanning files...");
}

void ShowExtractingText() {
  ShowTargetText("Extracting file: %s%s");
}
