// One install run driven as the wizard drives it from its Install button.
#pragma once

#include "headless/command_line.h"

#include <csignal>

// Set by the interrupt handler; the run aborts between two slices.
extern volatile std::sig_atomic_t abortSignalled;

// Runs the install; the exit code of the program.
int RunHeadlessInstall(const HeadlessOptions &options);
