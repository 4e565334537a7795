#include "engine/path_parts.h"

#include "engine/platform_files.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

static bool IsSeparator(char c) {
#if defined(_WIN32)
  return c == '\\' || c == '/' || c == ':';
#else
  return c == PATH_SEPARATOR;
#endif
}

const char *PathBaseName(const char *path) {
  const char *base = path;
  for (const char *p = path; *p; ++p)
    if (IsSeparator(*p))
      base = p + 1;
  return base;
}

bool SplitFileName(const char *path, char *name, unsigned nameSize, char *ext, unsigned extSize) {
  const char *base = PathBaseName(path);
  const char *dot = std::strrchr(base, '.');
  size_t nameLength = dot ? static_cast<size_t>(dot - base) : std::strlen(base);
  if (nameLength < nameSize && CopyText(ext, extSize, dot ? dot : "")) {
    std::memcpy(name, base, nameLength);
    name[nameLength] = '\0';
    return true;
  }
  name[0] = ext[0] = '\0';
  return false;
}

bool FormatSiblingPath(char *out, unsigned size, const char *path, const char *fileName) {
  int folderLength = static_cast<int>(PathBaseName(path) - path);
  return FormatText(out, size, "%.*s%s", folderLength, path, fileName);
}

bool CopyText(char *out, unsigned size, const char *text) {
  return FormatText(out, size, "%s", text);
}

bool FormatText(char *out, unsigned size, const char *format, ...) {
  if (size == 0)
    return false;
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(out, size, format, args);
  va_end(args);
  if (written < 0 || static_cast<unsigned>(written) >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}
