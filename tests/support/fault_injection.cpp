#include "tests/support/fault_injection.h"

#include "engine/platform_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

const char *const faultPointNames[FAULT_POINT_COUNT] = {
    "make folder",     "remove folder", "delete file",    "move file", "clear attributes",
    "clear read-only", "temp folder",   "own image path", "open file", "create new file",
    "write",           "read",          "close"};

static int callCounts[FAULT_POINT_COUNT];
static FaultPoint armedPoint = FAULT_POINT_COUNT;
static int armedCall = 0;
static std::string layerImagePath;

// Counts a call of point; true when this call is the one to fail.
static bool Hit(FaultPoint point) {
  int call = ++callCounts[point];
  return point == armedPoint && call == armedCall;
}

static bool FaultyMakeFolder(const char *path) {
  return !Hit(FAULT_MAKE_FOLDER) && nativePlatformOps.makeFolder(path);
}
static bool FaultyRemoveFolder(const char *path) {
  return !Hit(FAULT_REMOVE_FOLDER) && nativePlatformOps.removeFolder(path);
}
static bool FaultyDeleteFile(const char *path) {
  return !Hit(FAULT_DELETE_FILE) && nativePlatformOps.deleteFile(path);
}
static bool FaultyMoveFile(const char *from, const char *to) {
  return !Hit(FAULT_MOVE_FILE) && nativePlatformOps.moveFile(from, to);
}
static bool FaultyClearAttributes(const char *path) {
  return !Hit(FAULT_CLEAR_ATTRIBUTES) && nativePlatformOps.clearAttributes(path);
}
static bool FaultyClearReadOnly(const char *path) {
  return !Hit(FAULT_CLEAR_READ_ONLY) && nativePlatformOps.clearReadOnly(path);
}
static unsigned FaultyTempFolder(char *out, unsigned size) {
  return Hit(FAULT_TEMP_FOLDER) ? 0 : nativePlatformOps.tempFolder(out, size);
}
static unsigned FaultyOwnImagePath(char *out, unsigned size) {
  if (Hit(FAULT_OWN_IMAGE_PATH) || layerImagePath.size() + 1 > size)
    return 0;
  std::memcpy(out, layerImagePath.c_str(), layerImagePath.size() + 1);
  return static_cast<unsigned>(layerImagePath.size());
}

static ssize_t CookieRead(void *cookie, char *buffer, size_t size) {
  if (Hit(FAULT_READ)) {
    errno = EIO;
    return -1;
  }
  size_t got = std::fread(buffer, 1, size, static_cast<FILE *>(cookie));
  return std::ferror(static_cast<FILE *>(cookie)) ? -1 : static_cast<ssize_t>(got);
}

static ssize_t CookieWrite(void *cookie, const char *buffer, size_t size) {
  if (Hit(FAULT_WRITE)) {
    errno = ENOSPC;
    return -1;
  }
  size_t put = std::fwrite(buffer, 1, size, static_cast<FILE *>(cookie));
  return put == size ? static_cast<ssize_t>(put) : -1;
}

static int CookieSeek(void *cookie, off64_t *offset, int whence) {
  FILE *file = static_cast<FILE *>(cookie);
  if (fseeko(file, *offset, whence) != 0)
    return -1;
  *offset = ftello(file);
  return 0;
}

static int CookieClose(void *cookie) {
  bool fail = Hit(FAULT_CLOSE);
  int result = std::fclose(static_cast<FILE *>(cookie));
  return fail ? -1 : result;
}

// A stream whose block reads, writes and close may fail, over one the platform opened.
static FILE *WrapStream(FILE *inner, const char *mode) {
  if (!inner)
    return nullptr;
  cookie_io_functions_t functions = {CookieRead, CookieWrite, CookieSeek, CookieClose};
  FILE *outer = fopencookie(inner, mode, functions);
  if (!outer)
    std::fclose(inner);
  return outer;
}

static FILE *FaultyOpenFile(const char *path, const char *mode) {
  if (Hit(FAULT_OPEN_FILE))
    return nullptr;
  return WrapStream(nativePlatformOps.openFile(path, mode), mode);
}

static int FaultyCreateNewFile(const char *path, FILE **out) {
  *out = nullptr;
  if (Hit(FAULT_CREATE_NEW_FILE))
    return NEW_FILE_FAILED;
  FILE *inner = nullptr;
  int made = nativePlatformOps.createNewFile(path, &inner);
  if (made == NEW_FILE_CREATED) {
    *out = WrapStream(inner, "wb");
    if (!*out) {
      nativePlatformOps.deleteFile(path);
      return NEW_FILE_FAILED;
    }
  }
  return made;
}

void InstallFaultLayer(const char *imagePath) {
  layerImagePath = imagePath;
  platformOps = nativePlatformOps;
  platformOps.makeFolder = FaultyMakeFolder;
  platformOps.removeFolder = FaultyRemoveFolder;
  platformOps.deleteFile = FaultyDeleteFile;
  platformOps.moveFile = FaultyMoveFile;
  platformOps.clearAttributes = FaultyClearAttributes;
  platformOps.clearReadOnly = FaultyClearReadOnly;
  platformOps.tempFolder = FaultyTempFolder;
  platformOps.ownImagePath = FaultyOwnImagePath;
  platformOps.openFile = FaultyOpenFile;
  platformOps.createNewFile = FaultyCreateNewFile;
  DisarmFaults();
  ResetFaultCounts();
}

void RemoveFaultLayer() {
  platformOps = nativePlatformOps;
  DisarmFaults();
}

void ArmFault(FaultPoint point, int nth) {
  armedPoint = point;
  armedCall = nth;
}

void DisarmFaults() {
  armedPoint = FAULT_POINT_COUNT;
  armedCall = 0;
}

void ResetFaultCounts() {
  std::memset(callCounts, 0, sizeof callCounts);
}

int FaultCallCount(FaultPoint point) {
  return callCounts[point];
}
