#include "wizard/folder_rules.h"

#include <cstdio>
#include <cstring>

namespace {

// Copies at most size - 1 characters and terminates; a longer text is cut.
void CopyCut(char *out, unsigned size, const char *text) {
  if (size == 0)
    return;
  size_t n = std::strlen(text);
  if (n >= size)
    n = size - 1;
  std::memcpy(out, text, n);
  out[n] = '\0';
}

// Appends suffix when it fits; false (and out unchanged) when it does not.
bool Append(char *out, unsigned size, const char *suffix) {
  const size_t used = std::strlen(out);
  const size_t extra = std::strlen(suffix);
  if (used + extra >= size)
    return false;
  std::memcpy(out + used, suffix, extra + 1);
  return true;
}

// Length of drive and folder of a path, the way the runtime splits it: everything up to
// the last separator, or the drive ("c:") when there is none.
size_t FolderPrefixLength(const char *path) {
  const char *lastSeparator = nullptr;
  for (const char *p = path; *p; ++p)
    if (*p == '\\' || *p == '/')
      lastSeparator = p;
  if (lastSeparator)
    return static_cast<size_t>(lastSeparator - path) + 1;
  if (path[0] && path[1] == ':')
    return 2;
  return 0;
}

} // namespace

void LowerCaseText(char *text) {
  for (; *text; ++text)
    if (*text >= 'A' && *text <= 'Z')
      *text = static_cast<char>(*text - 'A' + 'a');
}

void DriveRootOf(const char *ownPath, char *out, unsigned size) {
  CopyCut(out, size < 4 ? size : 4, ownPath);
  LowerCaseText(out);
}

bool DefaultFolderFor(const char *ownRoot, bool ownRootIsFixed, const char *windowsDir, char *out,
                      unsigned size) {
  bool windowsDrive = false;
  if (!ownRootIsFixed && windowsDir && windowsDir[0]) {
    // The drive of the Windows folder, as a drive component ("c:") or nothing.
    const char *drive = windowsDir[1] == ':' ? windowsDir : "";
    std::snprintf(out, size, "%.*s\\", drive[0] ? 2 : 0, drive);
    LowerCaseText(out);
    windowsDrive = true;
  } else {
    CopyCut(out, size, ownRoot);
  }
  Append(out, size, "vorq");
  return windowsDrive;
}

bool ProposalFor(const char *currentFolder, const char *ownPath, char *out, unsigned size) {
  if (size == 0)
    return false;
  CopyCut(out, size, currentFolder);
  LowerCaseText(out);
  const size_t n = std::strlen(out);
  if (n <= 1) {
    // Nothing useful to build on: the installer's own folder, not lower-cased.
    size_t prefix = FolderPrefixLength(ownPath);
    if (prefix >= size)
      prefix = size - 1;
    std::memcpy(out, ownPath, prefix);
    out[prefix] = '\0';
    return Append(out, size, "vorq");
  }
  if (std::strstr(out, "\\vorq"))
    return true;
  return Append(out, size, out[n - 1] == '\\' ? "vorq" : "\\vorq");
}
