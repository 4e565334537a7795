// The file operations on Windows: each is the Win32 call whose behaviour the engine was
// written against, so nothing needs emulating here.
#include "engine/platform_files.h"

#include <windows.h>

#include <cstring>
#include <io.h>

const char *const fallbackTempFolder = "c:\\";

// The file createNewFile made. Its handle stays open until deleteFile: it denies others
// writing and deleting (renaming included) for as long as it is open, and every stream
// the engine gets on the file is a duplicate of it, so no later step opens the name again.
// Closing it deletes the file, also when the process ends without deleting it.
static HANDLE heldFile = INVALID_HANDLE_VALUE;
static char heldPath[MAX_PATH + 1];

static bool IsHeldPath(const char *path) {
  return heldFile != INVALID_HANDLE_VALUE && std::strcmp(path, heldPath) == 0;
}

static void ReleaseHeldFile() {
  if (heldFile != INVALID_HANDLE_VALUE)
    CloseHandle(heldFile);
  heldFile = INVALID_HANDLE_VALUE;
}

// A stream of its own on the held file, from its first byte; closing it leaves the
// held handle open.
static FILE *StreamOnHeldFile(const char *mode) {
  HANDLE process = GetCurrentProcess();
  HANDLE copy;
  if (!DuplicateHandle(process, heldFile, process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return nullptr;
  if (SetFilePointer(copy, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
    CloseHandle(copy);
    return nullptr;
  }
  // No flags: the handle's own access decides, and the stream's mode makes it binary.
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(copy), 0);
  if (fd < 0) {
    CloseHandle(copy);
    return nullptr;
  }
  FILE *file = _fdopen(fd, mode);
  if (!file)
    _close(fd);
  return file;
}

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
  if (IsHeldPath(path)) {
    // The file goes with its last handle; the engine has closed its streams by now.
    ReleaseHeldFile();
    return true;
  }
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
  if (mode[0] == 'r' && IsHeldPath(path))
    return StreamOnHeldFile("rb");
  return std::fopen(path, mode);
}

// CREATE_NEW fails on any name that is taken, a link included, and never opens or
// truncates what stands there.
static int Win32CreateNewFile(const char *path, FILE **out) {
  *out = nullptr;
  size_t length = std::strlen(path);
  if (length == 0 || length >= sizeof heldPath)
    return NEW_FILE_FAILED;
  ReleaseHeldFile();
  HANDLE file =
      CreateFileA(path, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                 GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    return taken ? NEW_FILE_NAME_TAKEN : NEW_FILE_FAILED;
  }
  heldFile = file;
  std::memcpy(heldPath, path, length + 1);
  *out = StreamOnHeldFile("wb");
  if (!*out) {
    ReleaseHeldFile();
    return NEW_FILE_FAILED;
  }
  return NEW_FILE_CREATED;
}

const PlatformFileOps nativePlatformOps = {
    Win32Exists,       Win32MakeFolder,      Win32RemoveFolder,  Win32DeleteFile,
    Win32MoveFile,     Win32ClearAttributes, Win32ClearReadOnly, Win32TempFolder,
    Win32OwnImagePath, Win32OpenFile,        Win32CreateNewFile};
