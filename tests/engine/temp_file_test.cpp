// The temporary file of each stream: created new beside whatever stands at its name,
// held against being swapped while the run uses it, and deleted only when the run made it.
#include "engine/install_state.h"
#include "engine/platform_files.h"
#include "engine/temp_file.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/recording_front_end.h"

#include <cstdlib>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using TempFileTest = EngineTest;

// What the slices saw of the temporary file while a stream was being cut.
struct Seen {
  std::set<std::string> paths;
  bool allPrivateFiles = true; // a plain file only its owner may open
  std::string swapWith;        // when set, moved over the temporary file once
  bool swapped = false;
};
Seen seen;

void LookAtTempFile() {
  if (!installState.tempOut)
    return;
  std::string path = installState.tempPath;
  seen.paths.insert(path);
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0777) != 0600)
    seen.allPrivateFiles = false;
  if (!seen.swapWith.empty() && !seen.swapped)
    seen.swapped = rename(seen.swapWith.c_str(), path.c_str()) == 0;
}

struct Lstat {
  bool exists;
  struct stat st;
};
Lstat LstatOf(const std::string &path) {
  Lstat result;
  result.exists = lstat(path.c_str(), &result.st) == 0;
  return result;
}

std::string LinkTarget(const std::string &path) {
  char buffer[4096];
  ssize_t length = readlink(path.c_str(), buffer, sizeof buffer);
  return length < 0 ? std::string() : std::string(buffer, static_cast<size_t>(length));
}

TEST_F(TempFileTest, WhateverStandsAtTheNameIsLeftAloneAndTheInstallCompletes) {
  enum Planted { NOTHING, LEFTOVER, READ_ONLY_LEFTOVER, LINK, DANGLING_LINK, FOLDER };
  const struct {
    Planted planted;
    const char *what;
  } cases[] = {{NOTHING, "nothing"},
               {LEFTOVER, "a file left by a crashed run"},
               {READ_ONLY_LEFTOVER, "a read-only leftover"},
               {LINK, "a link to another file"},
               {DANGLING_LINK, "a link to a name where nothing is"},
               {FOLDER, "a folder"}};
  const std::string name = tempDir / "vorq.tmp";
  const std::string outside = work / "outside.txt";
  const std::string nowhere = work / "nowhere.txt";
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    RemoveTree(name);
    RemoveTree(dest);
    WriteFileBytes(outside, "the user's own file");
    switch (c.planted) {
    case NOTHING:
      break;
    case LEFTOVER:
    case READ_ONLY_LEFTOVER:
      WriteFileBytes(name, "left by a crashed run");
      chmod(name.c_str(), c.planted == LEFTOVER ? 0644 : 0444);
      break;
    case LINK:
      ASSERT_EQ(0, symlink(outside.c_str(), name.c_str()));
      break;
    case DANGLING_LINK:
      ASSERT_EQ(0, symlink(nowhere.c_str(), name.c_str()));
      break;
    case FOLDER:
      MakeDirectory(name);
      WriteFileBytes(name + "/inside.txt", "inside");
      break;
    }
    Lstat before = LstatOf(name);

    seen = Seen();
    frontEndRecord.onOverallProgress = LookAtTempFile;
    RunResult run = Install();
    frontEndRecord.onOverallProgress = nullptr;
    ASSERT_EQ(RUN_INSTALLED, run.end) << LastErrorCaption();
    for (const auto &entry : SampleFiles())
      EXPECT_TRUE(SameBytes(entry.second, ReadFileBytes(dest + "/" + entry.first))) << entry.first;

    ASSERT_FALSE(seen.paths.empty()) << "no slice ended while a stream was cut";
    EXPECT_TRUE(seen.allPrivateFiles);
    for (const std::string &path : seen.paths) {
      EXPECT_EQ(0u, path.rfind(tempDir.path + "/vorq", 0)) << path;
      if (c.planted == NOTHING) {
        EXPECT_EQ(name, path);
      } else {
        EXPECT_NE(name, path);
      }
    }

    Lstat after = LstatOf(name);
    EXPECT_EQ(before.exists, after.exists);
    if (before.exists) {
      EXPECT_EQ(before.st.st_ino, after.st.st_ino);
      EXPECT_EQ(before.st.st_mode, after.st.st_mode);
      EXPECT_EQ(before.st.st_size, after.st.st_size);
    }
    std::vector<std::string> left = ListDirectory(tempDir.path);
    EXPECT_EQ(c.planted == NOTHING ? 0u : 1u, left.size()) << "the run left a temporary file";
    if (c.planted == LEFTOVER || c.planted == READ_ONLY_LEFTOVER) {
      EXPECT_EQ("left by a crashed run", ReadFileBytes(name));
    } else if (c.planted == LINK || c.planted == DANGLING_LINK) {
      EXPECT_EQ(c.planted == LINK ? outside : nowhere, LinkTarget(name));
    } else if (c.planted == FOLDER) {
      EXPECT_EQ("inside", ReadFileBytes(name + "/inside.txt"));
    }
    EXPECT_EQ("the user's own file", ReadFileBytes(outside));
    EXPECT_FALSE(PathExists(nowhere)) << "a file was made through the dangling link";
    chmod(name.c_str(), 0644);
  }
}

TEST_F(TempFileTest, AFileSwappedInWhileCuttingIsNeitherInstalledNorDeleted) {
  const std::string swap = tempDir / "swap.bin";
  WriteFileBytes(swap, "not what the checksum proved");
  seen = Seen();
  seen.swapWith = swap;
  frontEndRecord.onOverallProgress = LookAtTempFile;
  RunResult run = Install();
  frontEndRecord.onOverallProgress = nullptr;
  ASSERT_TRUE(seen.swapped);
  EXPECT_EQ(RUN_PUMP_FAILED, run.end);
  EXPECT_EQ("Vorq Installation Error [3]", LastErrorCaption());
  EXPECT_FALSE(PathExists(dest)) << "the roll-back removes the folder the run made";
  // The file at the name is someone else's now; the run's own is gone with its name.
  ASSERT_EQ(1u, seen.paths.size());
  EXPECT_EQ("not what the checksum proved", ReadFileBytes(*seen.paths.begin()));
  EXPECT_EQ(1u, ListDirectory(tempDir.path).size());
}

TEST_F(TempFileTest, OnlyTheRunsOwnTemporaryFileIsDeleted) {
  ASSERT_EQ(RUN_INSTALLED, Install().end);
  // A finished run's tempPath still names "vorq.tmp"; what is put there afterwards is not
  // the run's, also when a later roll-back of the run comes (as after error [14]).
  const std::string name = tempDir / "vorq.tmp";
  EXPECT_EQ(name, installState.tempPath);
  WriteFileBytes(name, "someone else's");
  RollBackInstall();
  EXPECT_EQ("someone else's", ReadFileBytes(name));
}

TEST_F(TempFileTest, ANameThatCannotBeCreatedAtAllIsError11) {
  setenv("TMPDIR", (work / "missing").c_str(), 1);
  RunResult run = Install();
  EXPECT_EQ(RUN_PUMP_FAILED, run.end);
  EXPECT_EQ("Vorq Installation Error [11]", LastErrorCaption());
  EXPECT_EQ(1u, frontEndRecord.errorBoxes.size());
  EXPECT_EQ(0, installState.tempCreated);
  EXPECT_FALSE(PathExists(work / "missing"));
  EXPECT_FALSE(PathExists(dest));
}

TEST_F(TempFileTest, FreshNamesAreDistinctShortNamesInTheSameFolder) {
  std::set<std::string> names;
  char name[TEMP_PATH_SIZE];
  for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
    ASSERT_TRUE(FormatTempName(name, sizeof name, "c:\\temp\\", attempt, 0xBEEF));
    std::string text = name;
    ASSERT_EQ(0u, text.rfind("c:\\temp\\vorq", 0)) << text;
    // Eight characters and an extension: the name fits every file system the
    // installer runs on.
    EXPECT_EQ(attempt == 0 ? std::string("c:\\temp\\vorq.tmp").size() : 20u, text.size());
    EXPECT_EQ(".tmp", text.substr(text.size() - 4));
    names.insert(text);
  }
  EXPECT_EQ(static_cast<size_t>(TEMP_NAME_ATTEMPTS), names.size());
  EXPECT_FALSE(FormatTempName(name, 12, "c:\\temp\\", 1, 0)) << "a name that does not fit";
}

} // namespace
