// Scratch folders and whole-file helpers for the tests.
#pragma once

#include <map>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed by the destructor.
struct ScratchDir {
  std::string path;
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir &) = delete;
  ScratchDir &operator=(const ScratchDir &) = delete;
  std::string operator/(const std::string &name) const {
    return path + "/" + name;
  }
};

std::string ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::string &bytes);
bool PathExists(const std::string &path);
bool IsDirectory(const std::string &path);
void RemoveTree(const std::string &path);
void MakeDirectory(const std::string &path);

// Every regular file below root, by path relative to root, with its content.
std::map<std::string, std::string> SnapshotTree(const std::string &root);

// The entries of a folder (names only, sorted); empty when it does not exist.
std::vector<std::string> ListDirectory(const std::string &path);

// Number of open file descriptors of this process.
int OpenDescriptorCount();

// Byte-for-byte equality with a short account of the first difference, for files too
// large to print.
#include <gtest/gtest.h>
::testing::AssertionResult SameBytes(const std::string &expected, const std::string &actual);
