// Front end of tools that decode streams without showing progress: errors go to standard
// error, everything else is a no-op.
#include "payload/front_end.h"

void SetStatusLine(const char *) {}

void ShowErrorBox(const char *text, const char *caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
}

void DrawOverallProgress(FrontDc, FILE *) {}

void DrawFileProgress(FrontDc, uint32_t, uint32_t) {}

int FileProgressWidth() {
  return 1;
}

void WipeFileProgress() {}

FrontCursor ShowWaitCursor() {
  return nullptr;
}

void RestoreCursor(FrontCursor) {}
