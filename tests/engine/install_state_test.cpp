// Install state: target paths, the destination folder, reset and roll-back.
#include "engine/install_state.h"
#include "engine/platform_files.h"
#include "engine/temp_file.h"
#include "payload/marker.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/recording_front_end.h"

#include <cstring>
#include <string>

namespace {

using InstallStateTest = EngineTest;

void SetDest(const std::string &path) {
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", path.c_str());
}

TEST_F(InstallStateTest, BuildTargetPathNamesEachIndexAndNothingOutside) {
  SetDest("/x/vorq");
  char out[TARGET_PATH_SIZE];
  struct Case {
    int index;
    const char *expected;
  } cases[] = {{0, "/x/vorq/vorq32.exe"},
               {3, "/x/vorq/ircintro.hlp"},
               {10, "/x/vorq/urls.ini"},
               {-1, ""},
               {11, ""}};
  for (const Case &c : cases) {
    std::snprintf(out, sizeof out, "stale");
    BuildTargetPath(out, c.index);
    EXPECT_STREQ(c.expected, out) << "index " << c.index;
  }
  SetDest("/x/vorq/");
  BuildTargetPath(out, 6);
  EXPECT_STREQ("/x/vorq//vorq.ini", out) << "a trailing separator is not stripped";
}

TEST_F(InstallStateTest, BuildTargetPathFitsTheLongestFolder) {
  std::string longest = "/" + std::string(DEST_DIR_SIZE - 2, 'd');
  ASSERT_EQ(299u, longest.size());
  SetDest(longest);
  char out[TARGET_PATH_SIZE];
  BuildTargetPath(out, 3);
  EXPECT_EQ(longest + "/ircintro.hlp", out);
}

TEST_F(InstallStateTest, EnsureInstallDirCreatesOneLevelAndRemembersIt) {
  MakeDirectory(dest);
  WriteFileBytes(work / "plainfile", "x");
  struct Case {
    std::string path;
    int result;
    int dirCreated;
    bool error;
  } cases[] = {
      {dest, 1, 0, false},                   // exists: left alone, never removed later
      {work / "fresh", 1, 1, false},         // created by this run
      {work / "no/parent/here", 2, 0, true}, // one level only
      {"", 2, 0, true},                      // no name at all
      {work / "plainfile", 1, 0, false},     // a file stands there: the run fails later
  };
  for (const Case &c : cases) {
    ResetFrontEndRecord();
    SetDest(c.path);
    installState.dirCreated = 0;
    EXPECT_EQ(c.result, EnsureInstallDir()) << c.path;
    EXPECT_EQ(c.dirCreated, installState.dirCreated) << c.path;
    if (c.error) {
      ASSERT_EQ(1u, frontEndRecord.errorBoxes.size());
      EXPECT_EQ("Vorq Installation Error [1]", frontEndRecord.errorBoxes[0].caption);
      EXPECT_EQ("There seems to be a problem creating the directory you specified.\n\nPlease "
                "try using a different directory name!",
                frontEndRecord.errorBoxes[0].text);
    } else {
      EXPECT_TRUE(frontEndRecord.errorBoxes.empty()) << c.path;
    }
  }
}

TEST_F(InstallStateTest, ResetKeepsTheChoicesAndAssemblesTheMarker) {
  std::memset(&installState, 0x5A, sizeof installState);
  installState.image = nullptr;
  installState.tempOut = nullptr;
  SetDest("/kept/folder");
  std::memset(PayloadMarker, 0, sizeof PayloadMarker);
  ResetInstallState();

  EXPECT_STREQ("/kept/folder", installState.destDir);
  EXPECT_EQ(0x5A5A5A5A, installState.makeBackups);
  EXPECT_EQ(0x5A5A5A5A, installState.launchAtEnd);
  EXPECT_EQ(0, installState.fileIndex);
  EXPECT_EQ(0, installState.matchPos);
  EXPECT_EQ(0, installState.sliceCount);
  EXPECT_EQ(0, installState.iniDecision);
  EXPECT_EQ(0, installState.imageSize);
  EXPECT_EQ(0, installState.overallFill);
  EXPECT_EQ(0, installState.dirCreated);
  EXPECT_EQ(0, installState.abortRequested);
  EXPECT_STREQ("", installState.tempPath);
  EXPECT_STREQ("", installState.backupDir);
  EXPECT_EQ(4u, std::strlen(PayloadMarker));
  EXPECT_EQ('Z', PayloadMarker[0]);
  EXPECT_EQ(std::string("EKL"), PayloadMarker + 1);
}

TEST_F(InstallStateTest, RollBackWithNothingInstalledRemovesOnlyTempAndCreatedFolder) {
  SetDest(dest);
  ResetInstallState();
  ASSERT_EQ(1, EnsureInstallDir());
  ASSERT_TRUE(CreateTempFile());
  std::string temp = installState.tempPath;
  EXPECT_EQ(tempDir / "vorq.tmp", temp);
  std::fputs("partial", installState.tempOut);

  RollBackInstall();
  EXPECT_FALSE(PathExists(temp));
  EXPECT_EQ(nullptr, installState.tempOut);
  EXPECT_FALSE(PathExists(dest));
  EXPECT_EQ(0, installState.dirCreated);

  // A second roll-back finds nothing to do and touches nothing.
  MakeDirectory(dest);
  RollBackInstall();
  EXPECT_TRUE(PathExists(dest));
}

TEST_F(InstallStateTest, RollBackKeepsAFolderThatStillHoldsFiles) {
  SetDest(dest);
  ResetInstallState();
  ASSERT_EQ(1, EnsureInstallDir());
  WriteFileBytes(dest + "/users-own.txt", "mine");
  RollBackInstall();
  EXPECT_EQ("mine", ReadFileBytes(dest + "/users-own.txt"));
}

} // namespace
