#include "desktop/file_type_keys.h"

#include <cstdio>

namespace {

struct FileTypeKey {
  const char *path;
  const char *value; // %s stands for the destination folder
};

// The program path of the open command is quoted: unquoted, a folder with blanks would
// let the shell start "c:\program.exe" for "c:\program files\...".
const FileTypeKey fileTypeKeys[FILE_TYPE_KEY_COUNT] = {
    {".cha", "ChatFile"},
    {".chat", "ChatFile"},
    {"ChatFile", "Chat File"},
    {"ChatFile\\shell\\DefaultIcon", "%s\\vlink32.exe,0"},
    {"ChatFile\\shell\\open\\command", "\"%s\\vlink32.exe\" \"%%1\""},
};

} // namespace

const char *FileTypeKeyPath(int index) {
  if (index < 0 || index >= FILE_TYPE_KEY_COUNT)
    return nullptr;
  return fileTypeKeys[index].path;
}

bool FormatFileTypeValue(int index, const char *destDir, char *out, unsigned size) {
  if (size == 0)
    return false;
  out[0] = '\0';
  if (index < 0 || index >= FILE_TYPE_KEY_COUNT)
    return false;
  const int n = std::snprintf(out, size, fileTypeKeys[index].value, destDir);
  if (n < 0 || static_cast<unsigned>(n) >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}
