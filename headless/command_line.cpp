#include "headless/command_line.h"

#include <cstdio>
#include <cstring>

bool ParseCommandLine(int argc, char **argv, HeadlessOptions *options, char *error,
                      unsigned errorSize) {
  *options = HeadlessOptions{nullptr, "vorq", true, true, false};
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      options->help = true;
    } else if (std::strcmp(arg, "--no-backups") == 0) {
      options->makeBackups = false;
    } else if (std::strcmp(arg, "--replace-settings") == 0) {
      options->keepSettings = false;
    } else if (std::strcmp(arg, "--image") == 0 || std::strcmp(arg, "--dest") == 0) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        std::snprintf(error, errorSize, "%s needs a value", arg);
        return false;
      }
      (arg[2] == 'i' ? options->image : options->dest) = argv[++i];
    } else {
      std::snprintf(error, errorSize, "unknown argument '%s'", arg);
      return false;
    }
  }
  return true;
}

void PrintUsage(const char *program) {
  std::printf(
      "Usage: %s [--image FILE] [--dest DIR] [--no-backups] [--replace-settings] [--help]\n"
      "\n"
      "Installs the Vorq 5.71 client from an installer image, as the installer's wizard\n"
      "does, without a window system.\n"
      "\n"
      "  --image FILE         installer image to install from (default: this program,\n"
      "                       which carries the payload)\n"
      "  --dest DIR           destination folder (default: ./vorq)\n"
      "  --no-backups         overwrite existing files instead of moving them to backup/\n"
      "  --replace-settings   replace existing settings files (*.ini) instead of keeping them\n"
      "  --help               show this help\n"
      "\n"
      "Exit status: 0 installed, 1 failed or aborted (rolled back), 2 usage error.\n",
      program);
}
