#include "desktop/progman_commands.h"

#include <cstdio>

namespace {

struct ProgmanStep {
  const char *newShellCommand; // each %s stands for the destination folder
  const char *oldShellCommand; // where it differs: old shells show text files with Write's icon
  bool needed;                 // a rejection ends the group creation
};

const ProgmanStep progmanSteps[PROGMAN_STEP_COUNT] = {
    {"[CreateGroup(\"Vorq\")]", nullptr, true},
    {"[ShowGroup(\"Vorq\",1)]", nullptr, false},
    {"[ReplaceItem(\"Vorq32\")]", nullptr, false},
    {"[AddItem(\"%s\\Vorq32.exe\",\"Vorq32\",,0,,,\"%s\")]", nullptr, true},
    {"[ReplaceItem(\"Vorq Help\")]", nullptr, false},
    {"[AddItem(\"%s\\Vorq.hlp\",\"Vorq Help\",,0,,,\"%s\")]", nullptr, true},
    {"[ReplaceItem(\"IRC Intro\")]", nullptr, false},
    {"[AddItem(\"%s\\IRCintro.hlp\",\"IRC Intro\",,0,,,\"%s\")]", nullptr, true},
    {"[ReplaceItem(\"Readme.txt\")]", nullptr, false},
    {"[AddItem(\"%s\\readme.txt\",\"Readme.txt\",,,,,\"%s\")]",
     "[AddItem(\"%s\\readme.txt\",\"Readme.txt\",\"write.exe\",0,,,\"%s\")]", true},
    {"[ReplaceItem(\"Versions.txt\")]", nullptr, false},
    {"[AddItem(\"%s\\versions.txt\",\"Versions.txt\",,,,,\"%s\")]",
     "[AddItem(\"%s\\versions.txt\",\"Versions.txt\",\"write.exe\",0,,,\"%s\")]", true},
};

} // namespace

bool FormatProgmanCommand(int step, const char *destDir, int32_t newShell, char *out,
                          unsigned size) {
  if (size == 0)
    return false;
  out[0] = '\0';
  if (step < 1 || step > PROGMAN_STEP_COUNT)
    return false;
  const ProgmanStep &entry = progmanSteps[step - 1];
  const char *format =
      (newShell == 0 && entry.oldShellCommand) ? entry.oldShellCommand : entry.newShellCommand;
  // Commands without a folder ignore the two extra arguments.
  const int n = std::snprintf(out, size, format, destDir, destDir);
  if (n < 0 || static_cast<unsigned>(n) >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool IsProgmanStepNeeded(int step) {
  return step >= 1 && step <= PROGMAN_STEP_COUNT && progmanSteps[step - 1].needed;
}
