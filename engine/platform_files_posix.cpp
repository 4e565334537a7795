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

const char *const fallbackTempFolder = "/tmp/";

// The file createNewFile made, known by its identity: whatever stands at its name later
// is trusted only when it is this file.
static struct {
  bool held;
  dev_t device;
  ino_t inode;
  char path[4096];
} heldFile;

static bool IsHeldPath(const char *path) {
  return heldFile.held && std::strcmp(path, heldFile.path) == 0;
}

static bool IsHeldFile(const struct stat &st) {
  return st.st_dev == heldFile.device && st.st_ino == heldFile.inode;
}

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
  if (IsHeldPath(path)) {
    // Something that took the place of the file made here is not ours to delete.
    if (lstat(path, &st) == 0 && IsHeldFile(st) && unlink(path) != 0)
      return false;
    heldFile.held = false;
    return true;
  }
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

// A stream on the file createNewFile made, or none when another stands at its name now.
static FILE *OpenHeldFile(const char *path) {
  int fd = open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0)
    return nullptr;
  struct stat st;
  FILE *file = nullptr;
  if (fstat(fd, &st) == 0 && IsHeldFile(st))
    file = fdopen(fd, "rb");
  if (!file)
    close(fd);
  return file;
}

static FILE *PosixOpenFile(const char *path, const char *mode) {
  if (mode[0] == 'r' && IsHeldPath(path))
    return OpenHeldFile(path);
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

// Only its owner may open the file, and O_EXCL with O_NOFOLLOW refuses any name that is
// taken, a link included (dangling or not).
static int PosixCreateNewFile(const char *path, FILE **out) {
  *out = nullptr;
  size_t length = std::strlen(path);
  if (length == 0 || length >= sizeof heldFile.path)
    return NEW_FILE_FAILED;
  int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    struct stat st;
    return errno == EEXIST || lstat(path, &st) == 0 ? NEW_FILE_NAME_TAKEN : NEW_FILE_FAILED;
  }
  struct stat st;
  FILE *file = nullptr;
  if (fstat(fd, &st) == 0)
    file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(path);
    return NEW_FILE_FAILED;
  }
  heldFile.held = true;
  heldFile.device = st.st_dev;
  heldFile.inode = st.st_ino;
  std::memcpy(heldFile.path, path, length + 1);
  *out = file;
  return NEW_FILE_CREATED;
}

const PlatformFileOps nativePlatformOps = {PosixExists,     PosixMakeFolder,   PosixRemoveFolder,
                                           PosixDeleteFile, PosixMoveFile,     AddOwnerWrite,
                                           AddOwnerWrite,   PosixTempFolder,   PosixOwnImagePath,
                                           PosixOpenFile,   PosixCreateNewFile};
