#include "tests/fuzz/scratch_dir.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

static std::string scratchPath;

static void RemoveScratch() {
  RemoveTree(scratchPath);
}

const std::string &FuzzScratchDir() {
  if (!scratchPath.empty())
    return scratchPath;
  const char *tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vorq-fuzz-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  scratchPath = buffer.data();
  std::atexit(RemoveScratch);
  return scratchPath;
}

void WriteWholeFile(const std::string &path, const void *data, size_t size) {
  FILE *file = std::fopen(path.c_str(), "wb");
  bool written = file && std::fwrite(data, 1, size, file) == size;
  if (file && std::fclose(file) != 0)
    written = false;
  if (!written) {
    std::perror(path.c_str());
    std::abort();
  }
}

void RemoveTree(const std::string &path) {
  struct stat st;
  if (path.empty() || lstat(path.c_str(), &st) != 0)
    return;
  if (!S_ISDIR(st.st_mode)) {
    unlink(path.c_str());
    return;
  }
  chmod(path.c_str(), 0700);
  std::vector<std::string> names;
  if (DIR *dir = opendir(path.c_str())) {
    while (dirent *entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..")
        names.push_back(name);
    }
    closedir(dir);
  }
  for (const std::string &name : names)
    RemoveTree(path + "/" + name);
  rmdir(path.c_str());
}
