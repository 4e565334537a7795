// vorq-setup: the installer's engine with a text front end, for systems without windows.
#include "headless/command_line.h"
#include "headless/headless_install.h"
#include "headless/text_front_end.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

static void OnInterrupt(int) {
  abortSignalled = 1;
}

int main(int argc, char **argv) {
  HeadlessOptions options;
  char error[200];
  if (!ParseCommandLine(argc, argv, &options, error, sizeof error)) {
    std::fprintf(stderr, "vorq-setup: %s (see --help)\n", error);
    return EXIT_USAGE;
  }
  if (options.help) {
    PrintUsage("vorq-setup");
    return EXIT_INSTALLED;
  }
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  StartTextFrontEnd(stdout, isatty(STDOUT_FILENO) != 0);
  int code = RunHeadlessInstall(options);
  StopTextFrontEnd();
  if (code == EXIT_INSTALLED)
    std::printf("Installed into %s\n", options.dest);
  return code;
}
