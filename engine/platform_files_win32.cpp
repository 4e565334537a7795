// The file operations on Windows: each is the Win32 call whose behaviour the engine was
// written against, so nothing needs emulating here.
#include "engine/platform_files.h"

#include <windows.h>

const char *const fallbackTempPath = "c:\\vorq.tmp";

static bool Win32Exists(const char *path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static bool Win32MakeFolder(const char *path) {
  return CreateDirectoryA(path, nullptr) != 0;
}

static bool Win32RemoveFolder(const char *path) {
  return RemoveDirectoryA(path) != 0;
}

static bool Win32DeleteFile(const char *path) {
  return DeleteFileA(path) != 0;
}

static bool Win32MoveFile(const char *from, const char *to) {
  return MoveFileA(from, to) != 0;
}

static bool Win32ClearAttributes(const char *path) {
  return SetFileAttributesA(path, 0) != 0;
}

static bool Win32ClearReadOnly(const char *path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return false;
  return SetFileAttributesA(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)) != 0;
}

static unsigned Win32TempFolder(char *out, unsigned size) {
  if (size == 0)
    return 0;
  // A result as large as the buffer is the size it would need: the folder did not fit.
  DWORD length = GetTempPathA(size, out);
  if (length == 0 || length >= size) {
    out[0] = '\0';
    return 0;
  }
  return length;
}

static unsigned Win32OwnImagePath(char *out, unsigned size) {
  if (size < 2)
    return 0;
  // One character short of the buffer: a result that fills the limit was cut off, and
  // older systems leave such a result unterminated.
  DWORD limit = size - 1;
  DWORD length = GetModuleFileNameA(nullptr, out, limit);
  if (length == 0 || length >= limit) {
    out[0] = '\0';
    return 0;
  }
  out[length] = '\0';
  return length;
}

static FILE *Win32OpenFile(const char *path, const char *mode) {
  return std::fopen(path, mode);
}

const PlatformFileOps nativePlatformOps = {
    Win32Exists,          Win32MakeFolder,    Win32RemoveFolder, Win32DeleteFile,   Win32MoveFile,
    Win32ClearAttributes, Win32ClearReadOnly, Win32TempFolder,   Win32OwnImagePath, Win32OpenFile};
