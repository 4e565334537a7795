// The registry entries that make "vlink32.exe" open and show .cha and .chat documents.
#pragma once

enum {
  FILE_TYPE_KEY_COUNT = 5,
  FILE_TYPE_VALUE_SIZE = 900 // the longest value, the open command, is destDir + 19
};

// Path under the classes root of entry index (0 to 4, in the order they are written);
// null out of range.
const char *FileTypeKeyPath(int index);

// Formats the default value of entry index for destDir into out. False, with out empty,
// for an index out of range or a value that does not fit.
bool FormatFileTypeValue(int index, const char *destDir, char *out, unsigned size);
