// The file-system operations the engine relies on, as one contract with a Win32 and a
// POSIX implementation. The POSIX one emulates what the engine expects of Windows, also
// when running as root. Tests may replace single entries to make an operation fail.
#pragma once

#include <cstdio>

// What createNewFile made of a name.
enum NewFileResult {
  NEW_FILE_CREATED = 1,
  NEW_FILE_NAME_TAKEN = 2, // something stands at the name; it was left as it is
  NEW_FILE_FAILED = 0      // nothing stands there, and no file can be made
};

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
  // Creates a file where nothing stands, for binary writing, and never through whatever
  // stands at the name (a link, a file, a folder). The platform holds the file it made
  // until deleteFile removes it: meanwhile no other process may write, replace or delete
  // it as far as the platform can prevent that, openFile of the same path for reading
  // gets this very file from its start (or fails), never what may stand at the name by
  // then, and deleteFile removes only this file. One such file at a time.
  int (*createNewFile)(const char *path, FILE **out);
};

extern PlatformFileOps platformOps;

// The table as the platform supplies it, for tests that put it back.
extern const PlatformFileOps nativePlatformOps;

// Where the temporary file goes when no temporary folder can be had (with its separator).
extern const char *const fallbackTempFolder;
