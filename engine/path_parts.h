// Splitting a path into drive, folder (with its trailing separator), name and extension
// (with its dot), bounded by the sizes of the engine's component buffers.
#pragma once

// False when a component does not fit its buffer; the buffers then hold empty texts.
bool SplitPath(const char *path, char *drive, unsigned driveSize, char *dir, unsigned dirSize,
               char *name, unsigned nameSize, char *ext, unsigned extSize);

// Copies text into out; false (and out empty) when it does not fit.
bool CopyText(char *out, unsigned size, const char *text);

// Formats into out; false (and out empty) when the result does not fit.
bool FormatText(char *out, unsigned size, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
