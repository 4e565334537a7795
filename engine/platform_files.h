// The file-system operations the engine relies on, as one contract with a Win32 and a
// POSIX implementation. The POSIX one emulates what the engine expects of Windows, also
// when running as root. Tests may replace single entries to make an operation fail.
#pragma once

#include <cstdio>

#if defined(_WIN32)
inline constexpr char PATH_SEPARATOR = '\\';
#else
inline constexpr char PATH_SEPARATOR = '/';
#endif

struct PlatformFileOps {
  bool (*exists)(const char *path);       // a file or a folder stands there
  bool (*makeFolder)(const char *path);   // one level only; fails if the name exists
  bool (*removeFolder)(const char *path); // fails unless empty
  bool (*deleteFile)(const char *path);   // fails for a missing, read-only file or a folder
  bool (*moveFile)(const char *from, const char *to); // fails if `to` exists
  bool (*clearAttributes)(const char *path);          // read-only, hidden, system, archive
  bool (*clearReadOnly)(const char *path);            // fails if nothing exists there
  // The temporary folder with its trailing separator; its length, or 0 on failure.
  unsigned (*tempFolder)(char *out, unsigned size);
  // The running program's own image; its length, or 0 on failure.
  unsigned (*ownImagePath)(char *out, unsigned size);
  // Every file the engine reads or writes is opened here (binary modes only).
  FILE *(*openFile)(const char *path, const char *mode);
};

extern PlatformFileOps platformOps;

// The table as the platform supplies it, for tests that put it back.
extern const PlatformFileOps nativePlatformOps;

// Where the temporary file goes when no temporary folder can be had.
extern const char *const fallbackTempPath;
