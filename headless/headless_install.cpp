#include "headless/headless_install.h"

#include "engine/extraction.h"
#include "engine/install_state.h"
#include "engine/path_parts.h"
#include "engine/platform_files.h"
#include "engine/status_text.h"
#include "headless/text_front_end.h"
#include "payload/front_end.h"

#include <cstring>

volatile std::sig_atomic_t abortSignalled = 0;

static char chosenImage[IMAGE_PATH_SIZE];

// The engine installs from "its own image"; here that is the image the user named.
static unsigned ChosenImagePath(char *out, unsigned size) {
  return CopyText(out, size, chosenImage) ? static_cast<unsigned>(std::strlen(out)) : 0;
}

static int Fail() {
  RollBackInstall();
  return EXIT_FAILED;
}

int RunHeadlessInstall(const HeadlessOptions &options) {
  InstallState &s = installState;
  if (!CopyText(s.destDir, sizeof s.destDir, options.dest)) {
    std::fprintf(stderr, "vorq-setup: the destination folder is longer than %d characters\n",
                 DEST_DIR_SIZE - 1);
    return EXIT_USAGE;
  }
  if (options.image) {
    if (!CopyText(chosenImage, sizeof chosenImage, options.image)) {
      std::fprintf(stderr, "vorq-setup: the image path is longer than %d characters\n",
                   IMAGE_PATH_SIZE - 1);
      return EXIT_USAGE;
    }
    platformOps.ownImagePath = ChosenImagePath;
  }
  s.makeBackups = options.makeBackups;
  s.keepSettings = options.keepSettings;
  s.createShortcuts = 0;

  ResetInstallState();
  ShowStatusText();
  DrawOverallProgress(nullptr, nullptr);
  if (EnsureInstallDir() != 1)
    return EXIT_FAILED;
  // Unlike the wizard, which leaves it for the user to reuse, a folder this run created
  // goes again when the image cannot be used.
  if (!BeginExtraction())
    return Fail();

  for (;;) {
    if (abortSignalled) {
      RollBackInstall();
      ResetInstallState();
      PrintTextLine("Installation aborted; the files of this run were removed.");
      return EXIT_FAILED;
    }
    int result = PumpExtraction();
    if (result == PUMP_MORE)
      continue;
    if (result != PUMP_DONE)
      return Fail();
    return CheckStreamsFound() ? EXIT_INSTALLED : EXIT_FAILED;
  }
}
