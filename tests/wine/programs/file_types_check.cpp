// Registers the .cha and .chat file types for a folder with blanks and reads the five
// values back, through both query functions; then registers again over them.
//
//   file_types_check.exe [FOLDER]      FOLDER defaults to "c:\program files\vorq chat"
//
// Exit code 0 when every check passed.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "desktop/file_types.h"
#include "engine/install_state.h"
#include "tests/wine/programs/check_log.h"
#include "wizard/app_handles.h"

namespace {

void CheckDefaultValue(const char *keyPath, const std::string &expected) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    Check(false, "HKCR\\%s can be opened", keyPath);
    return;
  }
  char value[1024] = "";
  DWORD type = 0;
  DWORD size = sizeof value;
  const LONG status =
      RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
  RegCloseKey(key);
  Check(status == ERROR_SUCCESS && type == REG_SZ && expected == value,
        "HKCR\\%s = \"%s\" (REG_SZ)", keyPath, value);
  Check(size == expected.size() + 1, "HKCR\\%s stored with its NUL: %lu bytes", keyPath,
        static_cast<unsigned long>(size));

  char legacy[1024] = "";
  LONG legacySize = sizeof legacy;
  Check(RegQueryValueA(HKEY_CLASSES_ROOT, keyPath, legacy, &legacySize) == ERROR_SUCCESS &&
            expected == legacy,
        "RegQueryValueA reads HKCR\\%s the same", keyPath);
}

void CheckAllFive(const std::string &folder, const char *when) {
  std::printf("-- %s\n", when);
  CheckDefaultValue(".cha", "ChatFile");
  CheckDefaultValue(".chat", "ChatFile");
  CheckDefaultValue("ChatFile", "Chat File");
  CheckDefaultValue("ChatFile\\shell\\DefaultIcon", folder + "\\vlink32.exe,0");
  // The program path is quoted, so a folder with blanks cannot start another program.
  CheckDefaultValue("ChatFile\\shell\\open\\command", "\"" + folder + "\\vlink32.exe\" \"%1\"");
  HKEY key;
  const bool misplacedIcon = RegOpenKeyExA(HKEY_CLASSES_ROOT, "ChatFile\\DefaultIcon", 0,
                                           KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
  if (misplacedIcon)
    RegCloseKey(key);
  Check(!misplacedIcon, "the icon key lies under shell, not directly under ChatFile");
}

} // namespace

int main(int argc, char **argv) {
  appInstance = GetModuleHandleA(nullptr);
  const std::string folder = argc > 1 ? argv[1] : "c:\\program files\\vorq chat";
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", folder.c_str());

  // An extension that named another class before is taken over.
  Check(RegSetValueA(HKEY_CLASSES_ROOT, ".cha", REG_SZ, "OtherFile", 10) == ERROR_SUCCESS,
        "HKCR\\.cha set to another class first");

  Check(RegisterChatFileType() == 1, "RegisterChatFileType returns 1");
  CheckAllFive(folder, "first registration");

  Check(RegisterChatFileType() == 1, "registering again returns 1");
  CheckAllFive(folder, "second registration, same state");

  std::printf("%s\n", failures ? "file_types_check FAILED" : "file_types_check passed");
  return failures ? 1 : 0;
}
