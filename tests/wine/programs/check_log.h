// The check lines every Win32 test program prints, one per check: "ok: ..." or
// "FAIL: ...", flushed at once because a scenario may read them while the program runs.
// `failures` counts the FAIL lines; the program's exit code is 1 when there was one.
#pragma once

#include <cstdarg>
#include <cstdio>

namespace {

int failures = 0;

void Check(bool ok, const char *format, ...) {
  std::printf("%s: ", ok ? "ok" : "FAIL");
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  std::fflush(stdout);
  if (!ok)
    ++failures;
}

} // namespace
