// What runs after the wizard has closed: the settings key, the launch of the client and
// its help file, each under its own condition, in this fixed order.
#pragma once

#include <cstdint>

enum PostInstallStepKind { POST_SETTINGS_KEY, POST_LAUNCH, POST_HELP };

enum { POST_PATH_SIZE = 900, POST_STEP_MAX = 3 };

struct PostInstallStep {
  PostInstallStepKind kind;
  char path[POST_PATH_SIZE]; // the settings file, the program or the help file
};

struct PostInstallPlan {
  int count;
  PostInstallStep steps[POST_STEP_MAX];
};

extern const char settingsSection[];
extern const char settingsKey[];
extern const char settingsValue[];

// Plans the actions for a folder and the two finish-page choices; fileExists tells
// whether the settings file is there to take the key.
void PlanPostInstallActions(const char *destDir, int32_t launchAtEnd, int32_t readHelpAtEnd,
                            bool (*fileExists)(const char *path), PostInstallPlan *plan);
