// The headless installer's command line.
#pragma once

enum { EXIT_INSTALLED = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

struct HeadlessOptions {
  const char *image; // null: the program's own image
  const char *dest;
  bool makeBackups;
  bool keepSettings;
  bool help;
};

// Fills options from argv. False with a one-line reason in error on a usage error.
bool ParseCommandLine(int argc, char **argv, HeadlessOptions *options, char *error,
                      unsigned errorSize);

void PrintUsage(const char *program);
