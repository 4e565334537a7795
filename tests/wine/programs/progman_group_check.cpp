// Creates the "Vorq" group through the platform's own Program Manager DDE server: first
// without the five item files (AddItem is refused, so the result is 0), then with them
// (result 1, five links), then once more as a retry on an old shell (result 1 again).
//
//   progman_group_check.exe [FOLDER]      FOLDER defaults to "c:\program files\vorq chat"
//
// Exit code 0 when every check passed.
#include <windows.h>

#include <shlobj.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "desktop/progman.h"
#include "engine/install_state.h"
#include "tests/wine/programs/check_log.h"
#include "wizard/app_handles.h"
#include "wizard/folder_rules.h"

namespace {

const char *const itemFiles[] = {"vorq32.exe", "vorq.hlp", "ircintro.hlp", "readme.txt",
                                 "versions.txt"};
const char *const linkNames[] = {"Vorq32.lnk", "Vorq Help.lnk", "IRC Intro.lnk", "Readme.txt.lnk",
                                 "Versions.txt.lnk"};

// Creates every level of a folder path that is missing.
bool MakeFolders(const char *path) {
  char partial[MAX_PATH];
  const size_t n = std::strlen(path);
  if (n >= sizeof partial)
    return false;
  for (size_t i = 1; i <= n; ++i) {
    if (path[i] == '\\' || path[i] == '\0') {
      std::memcpy(partial, path, i);
      partial[i] = '\0';
      if (i > 2 && partial[i - 1] != ':')
        CreateDirectoryA(partial, nullptr);
    }
  }
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool WriteDummy(const char *folder, const char *name) {
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "%s\\%s", folder, name);
  FILE *file = std::fopen(path, "wb");
  if (!file)
    return false;
  const bool written = std::fputs("dummy item file\r\n", file) >= 0;
  return std::fclose(file) == 0 && written;
}

// True when the file's bytes hold text, as ANSI or as UTF-16, in any case.
bool FileMentions(const char *path, const char *text) {
  FILE *file = std::fopen(path, "rb");
  if (!file)
    return false;
  static unsigned char bytes[65536];
  const size_t size = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  const size_t length = std::strlen(text);
  for (int stride = 1; stride <= 2; ++stride) {
    for (size_t at = 0; at + length * stride <= size; ++at) {
      size_t k = 0;
      while (k < length && std::tolower(bytes[at + k * stride]) == std::tolower(text[k]) &&
             (stride == 1 || bytes[at + k * stride + 1] == 0))
        ++k;
      if (k == length)
        return true;
    }
  }
  return false;
}

// The "Vorq" group folder under the user's or the common programs folder, whichever has it.
bool FindGroupFolder(char *out, size_t size) {
  const int places[] = {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS};
  for (int place : places) {
    char programs[MAX_PATH];
    if (SHGetFolderPathA(nullptr, place, nullptr, SHGFP_TYPE_CURRENT, programs) != S_OK)
      continue;
    std::snprintf(out, size, "%s\\Vorq", programs);
    if (GetFileAttributesA(out) != INVALID_FILE_ATTRIBUTES)
      return true;
  }
  return false;
}

void CheckLinks(const char *when) {
  char group[MAX_PATH];
  if (!FindGroupFolder(group, sizeof group)) {
    Check(false, "%s: a \"Vorq\" folder under the programs folder", when);
    return;
  }
  std::printf("group folder: %s\n", group);
  for (int i = 0; i < 5; ++i) {
    char link[MAX_PATH * 2];
    std::snprintf(link, sizeof link, "%s\\%s", group, linkNames[i]);
    Check(GetFileAttributesA(link) != INVALID_FILE_ATTRIBUTES, "%s: link \"%s\" exists", when,
          linkNames[i]);
    Check(FileMentions(link, itemFiles[i]), "%s: link \"%s\" points at %s", when, linkNames[i],
          itemFiles[i]);
  }
}

} // namespace

int main(int argc, char **argv) {
  appInstance = GetModuleHandleA(nullptr);
  const char *folder = argc > 1 ? argv[1] : "c:\\program files\\vorq chat";
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", folder);
  LowerCaseText(installState.destDir);
  std::printf("destination: %s\n", installState.destDir);
  Check(MakeFolders(installState.destDir), "destination folder made");

  OpenDdeClient();
  Check(ddeInstance != 0, "DDE client instance created");

  Check(ProgmanExecute("[NoSuchCommand()]") == 0, "an unknown command is refused");

  // Left over from an earlier run in the same prefix, they would let AddItem through.
  for (const char *name : itemFiles) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\%s", installState.destDir, name);
    DeleteFileA(path);
  }
  newShell = 1;
  Check(CreateProgramGroup() == 0, "without the item files AddItem is refused: result 0");

  bool made = true;
  for (const char *name : itemFiles)
    made = WriteDummy(installState.destDir, name) && made;
  Check(made, "the five item files made");

  Check(CreateProgramGroup() == 1, "new shell: CreateProgramGroup returns 1");
  CheckLinks("new shell");

  newShell = 0;
  Check(CreateProgramGroup() == 1, "retry on an old shell: CreateProgramGroup returns 1");
  CheckLinks("old shell retry");

  CloseDdeClient();
  Check(ddeInstance == 0, "DDE client instance released");
  std::printf("%s\n", failures ? "progman_group_check FAILED" : "progman_group_check passed");
  return failures ? 1 : 0;
}
