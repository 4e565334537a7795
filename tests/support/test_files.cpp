#include "tests/support/test_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

ScratchDir::ScratchDir() {
  const char *tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vorq-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data()))
    throw std::runtime_error("mkdtemp failed for " + pattern);
  path = buffer.data();
}

ScratchDir::~ScratchDir() {
  RemoveTree(path);
}

std::string ReadFileBytes(const std::string &path) {
  FILE *file = std::fopen(path.c_str(), "rb");
  if (!file)
    throw std::runtime_error("cannot read " + path);
  std::string bytes;
  char block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0)
    bytes.append(block, got);
  std::fclose(file);
  return bytes;
}

void WriteFileBytes(const std::string &path, const std::string &bytes) {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
      std::fclose(file) != 0)
    throw std::runtime_error("cannot write " + path);
}

bool PathExists(const std::string &path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void MakeDirectory(const std::string &path) {
  if (mkdir(path.c_str(), 0777) != 0)
    throw std::runtime_error("cannot create " + path);
}

std::vector<std::string> ListDirectory(const std::string &path) {
  std::vector<std::string> names;
  DIR *dir = opendir(path.c_str());
  if (!dir)
    return names;
  while (dirent *entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..")
      names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::string &path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0)
    return;
  if (S_ISDIR(st.st_mode)) {
    chmod(path.c_str(), 0700);
    for (const std::string &name : ListDirectory(path))
      RemoveTree(path + "/" + name);
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

static void SnapshotInto(const std::string &root, const std::string &relative,
                         std::map<std::string, std::string> &out) {
  std::string full = relative.empty() ? root : root + "/" + relative;
  for (const std::string &name : ListDirectory(full)) {
    std::string child = relative.empty() ? name : relative + "/" + name;
    if (IsDirectory(root + "/" + child))
      SnapshotInto(root, child, out);
    else
      out[child] = ReadFileBytes(root + "/" + child);
  }
}

std::map<std::string, std::string> SnapshotTree(const std::string &root) {
  std::map<std::string, std::string> out;
  SnapshotInto(root, "", out);
  return out;
}

int OpenDescriptorCount() {
  return static_cast<int>(ListDirectory("/proc/self/fd").size()) - 1; // the listing's own
}

::testing::AssertionResult SameBytes(const std::string &expected, const std::string &actual) {
  if (expected == actual)
    return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
    ++at;
  return ::testing::AssertionFailure() << "expected " << expected.size() << " bytes, got "
                                       << actual.size() << ", first difference at " << at;
}
