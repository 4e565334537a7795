// The file operations on POSIX systems, made to behave as the engine expects of Windows:
// a read-only file cannot be deleted, a move never replaces an existing name, and a
// folder is created one level at a time. The permission checks are made explicitly, so
// they hold also for root, who bypasses file permissions.
#include "engine/platform_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char *const fallbackTempPath = "/tmp/vorq.tmp";

static bool PosixExists(const char *path) {
  struct stat st;
  return path[0] != '\0' && stat(path, &st) == 0;
}

static bool PosixMakeFolder(const char *path) {
  return path[0] != '\0' && mkdir(path, 0777) == 0;
}

static bool PosixRemoveFolder(const char *path) {
  return path[0] != '\0' && rmdir(path) == 0;
}

static bool PosixDeleteFile(const char *path) {
  struct stat st;
  if (lstat(path, &st) != 0 || S_ISDIR(st.st_mode))
    return false;
  // Windows refuses to delete a read-only file; the owner's write bit stands for it.
  if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
    return false;
  return unlink(path) == 0;
}

static bool PosixMoveFile(const char *from, const char *to) {
  struct stat st;
  if (lstat(to, &st) == 0 || lstat(from, &st) != 0)
    return false;
  // A hard link refuses an existing target atomically; folders and file systems that
  // have no hard links fall back to a rename after the check above.
  if (!S_ISDIR(st.st_mode) && link(from, to) == 0) {
    if (unlink(from) == 0)
      return true;
    unlink(to);
    return false;
  }
  if (errno == EEXIST)
    return false;
  return rename(from, to) == 0;
}

static bool AddOwnerWrite(const char *path) {
  struct stat st;
  if (fstatat(AT_FDCWD, path, &st, AT_SYMLINK_NOFOLLOW) != 0)
    return false;
  // A link has no attributes of its own, as on Windows; following it would change a file
  // that may lie anywhere, outside the destination.
  if (S_ISLNK(st.st_mode))
    return true;
  return fchmodat(AT_FDCWD, path, (st.st_mode & 07777) | S_IWUSR, AT_SYMLINK_NOFOLLOW) == 0;
}

static unsigned PosixTempFolder(char *out, unsigned size) {
  const char *folder = std::getenv("TMPDIR");
  if (!folder || folder[0] == '\0')
    folder = "/tmp";
  size_t length = std::strlen(folder);
  bool addSeparator = folder[length - 1] != '/';
  size_t total = length + (addSeparator ? 1 : 0);
  if (total >= size)
    return 0;
  std::memcpy(out, folder, length);
  if (addSeparator)
    out[length] = '/';
  out[total] = '\0';
  return static_cast<unsigned>(total);
}

static unsigned PosixOwnImagePath(char *out, unsigned size) {
  if (size == 0)
    return 0;
  ssize_t length = readlink("/proc/self/exe", out, size - 1);
  if (length <= 0 || static_cast<size_t>(length) >= size - 1) {
    out[0] = '\0';
    return 0;
  }
  out[length] = '\0';
  return static_cast<unsigned>(length);
}

static FILE *PosixOpenFile(const char *path, const char *mode) {
  if (mode[0] != 'w')
    return std::fopen(path, mode);
  // Files are written in shared folders such as /tmp: never follow a link planted at
  // the name, and give a new file the usual permissions.
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0)
    return nullptr;
  FILE *file = fdopen(fd, "wb");
  if (!file)
    close(fd);
  return file;
}

const PlatformFileOps nativePlatformOps = {
    PosixExists,   PosixMakeFolder, PosixRemoveFolder, PosixDeleteFile,   PosixMoveFile,
    AddOwnerWrite, AddOwnerWrite,   PosixTempFolder,   PosixOwnImagePath, PosixOpenFile};
