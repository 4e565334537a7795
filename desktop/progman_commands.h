// The Program Manager commands that create the "Vorq" group with its five items.
#pragma once

#include <cstdint>

enum {
  PROGMAN_STEP_COUNT = 12,
  PROGMAN_COMMAND_SIZE = 900 // the longest command, step 12 on an old shell, is 658
};

// Formats the command of step (1 to 12) for destDir and the shell flag into out. False,
// with out empty, for a step out of range or a command that does not fit.
bool FormatProgmanCommand(int step, const char *destDir, int32_t newShell, char *out,
                          unsigned size);

// Whether a rejection of this step's command ends the group creation; the ShowGroup and
// ReplaceItem steps may fail without harm.
bool IsProgmanStepNeeded(int step);
