#include "started_log.h"

#include <stdio.h>
#include <string.h>
#include <windows.h>

/* Folder and name together; the folder may be close to MAX_PATH on its own. */
enum { LOG_PATH_SIZE = MAX_PATH + 64 };

static int WriteAll(HANDLE file, const char *data, DWORD length) {
  DWORD written = 0;
  return WriteFile(file, data, length, &written, NULL) && written == length;
}

/* A test driver on the Linux side passes a Unix path; Wine shows the Unix root as drive Z:. */
static int BuildLogPath(char *out, size_t outSize, const char *folder, const char *fileName) {
  const char *drive = folder[0] == '/' ? "Z:" : "";
  size_t length = strlen(folder);
  const char *separator = (folder[length - 1] == '\\' || folder[length - 1] == '/') ? "" : "\\";
  int n = snprintf(out, outSize, "%s%s%s%s", drive, folder, separator, fileName);
  return n > 0 && (size_t)n < outSize;
}

int WriteStartedLog(const char *fileName) {
  char folder[MAX_PATH];
  DWORD folderLength = GetEnvironmentVariableA("VORQ_TEST_LOG", folder, sizeof folder);
  if (folderLength == 0 || folderLength >= sizeof folder) {
    return 0;
  }
  char path[LOG_PATH_SIZE];
  if (!BuildLogPath(path, sizeof path, folder, fileName)) {
    return 0;
  }
  /* Appending keeps one line per start, so a test can also count starts. */
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    return 0;
  }
  const char *commandLine = GetCommandLineA();
  int ok = WriteAll(file, commandLine, (DWORD)strlen(commandLine)) && WriteAll(file, "\r\n", 2);
  return CloseHandle(file) && ok;
}
