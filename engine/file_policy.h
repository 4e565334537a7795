// What becomes of a file that already stands where a stream is to be installed:
// overwritten, moved into the backup folder first, or (settings files) kept.
#pragma once

enum { PREPARE_INSTALL = 1, PREPARE_FAILED = 2, PREPARE_KEEP = 3 };

// True for a settings file: ".ini" occurs in the file's own name (not in its folder).
bool IsSettingsFile(const char *targetPath);

// Decides for the existing file at targetPath; may create the backup folder and move the
// file into it. Result PREPARE_INSTALL, PREPARE_FAILED (the user has been told) or
// PREPARE_KEEP.
int PrepareTarget(const char *targetPath);
