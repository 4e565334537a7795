// Taking paths apart and putting them together, bounded by the buffers they go into.
#pragma once

// The file name of a path: what follows its last separator.
const char *PathBaseName(const char *path);

// Splits the file name of a path into name and extension (with its dot). False, and both
// empty, when a part does not fit.
bool SplitFileName(const char *path, char *name, unsigned nameSize, char *ext, unsigned extSize);

// out = the folder of path (up to and including its last separator), then fileName.
bool FormatSiblingPath(char *out, unsigned size, const char *path, const char *fileName);

// Copies text into out; false (and out empty) when it does not fit.
bool CopyText(char *out, unsigned size, const char *text);

// Formats into out; false (and out empty) when the result does not fit.
bool FormatText(char *out, unsigned size, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
