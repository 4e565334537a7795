#include "desktop/file_types.h"

#include <windows.h>

#include <cstring>

#include "desktop/file_type_keys.h"
#include "engine/install_state.h"

int RegisterChatFileType() {
  char value[FILE_TYPE_VALUE_SIZE];
  for (int index = 0; index < FILE_TYPE_KEY_COUNT; ++index) {
    HKEY key;
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, FileTypeKeyPath(index), &key) != ERROR_SUCCESS)
      return 0;
    // The byte count includes the terminating NUL, so it is stored with the text.
    const bool written = FormatFileTypeValue(index, installState.destDir, value, sizeof value) &&
                         RegSetValueA(key, "", REG_SZ, value,
                                      static_cast<DWORD>(std::strlen(value)) + 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!written)
      return 0;
  }
  return 1;
}
