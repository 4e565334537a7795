#include "wizard/post_install_plan.h"

#include <cstdio>

const char settingsSection[] = "text";
const char settingsKey[] = "ignore";
const char settingsValue[] =
    "*.exe,*.com,*.bat,*.dll,*.ini,*.vrq,*.vbs,*.js,*.pif,*.scr,*.lnk,*.pl";

static void AddStep(PostInstallPlan *plan, PostInstallStepKind kind, const char *destDir,
                    const char *name) {
  PostInstallStep &step = plan->steps[plan->count++];
  step.kind = kind;
  // destDir holds at most 299 characters, so the path always fits.
  std::snprintf(step.path, sizeof step.path, "%s\\%s", destDir, name);
}

void PlanPostInstallActions(const char *destDir, int32_t launchAtEnd, int32_t readHelpAtEnd,
                            bool (*fileExists)(const char *path), PostInstallPlan *plan) {
  plan->count = 0;
  AddStep(plan, POST_SETTINGS_KEY, destDir, "vorq.ini");
  if (!fileExists(plan->steps[0].path))
    plan->count = 0;
  if (launchAtEnd == 1)
    AddStep(plan, POST_LAUNCH, destDir, "vorq32.exe");
  if (readHelpAtEnd == 1)
    AddStep(plan, POST_HELP, destDir, "vorq.hlp");
}
