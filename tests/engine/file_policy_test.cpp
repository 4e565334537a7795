// The existing-file policy: backups, kept settings files, overwriting in place.
#include "engine/file_policy.h"
#include "engine/install_state.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/fault_injection.h"
#include "tests/support/recording_front_end.h"

#include <sys/stat.h>

namespace {

using FilePolicyTest = EngineTest;

bool IsSettingsName(const std::string &name) {
  return name.find(".ini") != std::string::npos;
}

// An earlier installation: every target present with content of its own; the programs
// read-only, as a user's copy may be.
std::map<std::string, std::string> PlantOldInstall(const std::string &dest) {
  MakeDirectory(dest);
  std::map<std::string, std::string> old;
  for (const char *name : TargetFileTable) {
    old[name] = std::string("old copy of ") + name + "\n";
    WriteFileBytes(dest + "/" + name, old[name]);
  }
  chmod((dest + "/vorq32.exe").c_str(), 0444);
  chmod((dest + "/vorq.ini").c_str(), 0444);
  return old;
}

TEST_F(FilePolicyTest, MatrixOfBackupsAndKeptSettings) {
  for (bool backups : {true, false}) {
    for (bool keep : {true, false}) {
      SCOPED_TRACE(std::string("backups ") + (backups ? "on" : "off") + ", keep settings " +
                   (keep ? "on" : "off"));
      RemoveTree(dest);
      ResetFrontEndRecord();
      auto old = PlantOldInstall(dest);
      ASSERT_EQ(RUN_INSTALLED, Install(backups, keep).end) << LastErrorCaption();

      for (const auto &entry : SampleFiles()) {
        const std::string &name = entry.first;
        bool kept = keep && IsSettingsName(name);
        std::string target = dest + "/" + name;
        EXPECT_TRUE(SameBytes(kept ? old[name] : entry.second, ReadFileBytes(target))) << name;
        struct stat st;
        ASSERT_EQ(0, stat(target.c_str(), &st));
        EXPECT_TRUE(st.st_mode & S_IWUSR) << name << ": attributes are cleared, also when kept";
        bool backedUp = backups && !kept;
        EXPECT_EQ(backedUp, PathExists(dest + "/backup/" + name)) << name;
        if (backedUp) {
          EXPECT_EQ(old[name], ReadFileBytes(dest + "/backup/" + name)) << name;
        }
      }
      EXPECT_EQ(backups, IsDirectory(dest + "/backup"));
      EXPECT_TRUE(TempFolderEntries().empty());
    }
  }
}

TEST_F(FilePolicyTest, SecondInstallReplacesTheFirstBackupGeneration) {
  PlantOldInstall(dest);
  WriteFileBytes(dest + "/notes.txt", "the user's own file");
  ASSERT_EQ(RUN_INSTALLED, Install(true, false).end);
  MakeDirectory(dest + "/backup/extra"); // the folder is reused as it is
  ASSERT_EQ(RUN_INSTALLED, Install(true, false).end) << LastErrorCaption();

  for (const auto &entry : SampleFiles()) {
    EXPECT_TRUE(SameBytes(entry.second, ReadFileBytes(dest + "/" + entry.first)));
    EXPECT_TRUE(SameBytes(entry.second, ReadFileBytes(dest + "/backup/" + entry.first)))
        << entry.first << ": the first install's file is the one backed up";
  }
  EXPECT_TRUE(IsDirectory(dest + "/backup/extra"));
  EXPECT_EQ("the user's own file", ReadFileBytes(dest + "/notes.txt"));
}

TEST_F(FilePolicyTest, EditedSettingsSurviveAReinstallWithSettingsKept) {
  ASSERT_EQ(RUN_INSTALLED, Install().end);
  WriteFileBytes(dest + "/vorq.ini", "[text]\nnick=edited\n");
  RemoveTree(dest + "/aliases.ini");
  ASSERT_EQ(RUN_INSTALLED, Install(true, true).end);
  EXPECT_EQ("[text]\nnick=edited\n", ReadFileBytes(dest + "/vorq.ini"));
  EXPECT_EQ(SampleFiles().at("aliases.ini"), ReadFileBytes(dest + "/aliases.ini"))
      << "a missing settings file is installed";
  EXPECT_FALSE(PathExists(dest + "/backup/vorq.ini")) << "a kept file is not backed up";
}

TEST_F(FilePolicyTest, SettingsFileIsJudgedByItsNameNotItsFolder) {
  EXPECT_TRUE(IsSettingsFile("/a/b/vorq.ini"));
  EXPECT_TRUE(IsSettingsFile("urls.ini"));
  EXPECT_FALSE(IsSettingsFile("/apps.ini/vorq/vorq32.exe"));
  EXPECT_FALSE(IsSettingsFile("/a/b/vorq.INI")) << "the test is case-sensitive";

  // A folder whose name holds ".ini" must not keep the program files.
  dest = work / "apps.ini";
  PlantOldInstall(dest);
  ASSERT_EQ(RUN_INSTALLED, Install(false, true).end);
  EXPECT_TRUE(SameBytes(SampleFiles().at("vorq32.exe"), ReadFileBytes(dest + "/vorq32.exe")));
  EXPECT_EQ("old copy of servers.ini\n", ReadFileBytes(dest + "/servers.ini"));
}

TEST_F(FilePolicyTest, AbsentTargetIsInstalledWithoutTouchingTheRunState) {
  MakeDirectory(dest);
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", dest.c_str());
  installState.makeBackups = 1;
  EXPECT_EQ(PREPARE_INSTALL, PrepareTarget((dest + "/vorq.ini").c_str()));
  EXPECT_EQ(0, installState.iniDecision);
  EXPECT_STREQ("", installState.backupDir);
  EXPECT_FALSE(PathExists(dest + "/backup")) << "a fresh install makes no backup folder";
}

TEST_F(FilePolicyTest, BackupFailuresAreReportedAndLoseNothing) {
  struct Case {
    const char *what;
    const char *caption;
    void (*arrange)(const std::string &dest);
  } cases[] = {
      {"a file named backup stands where the folder goes", "Vorq Installation Error [7]",
       [](const std::string &d) { WriteFileBytes(d + "/backup", "not a folder"); }},
      {"the backup folder cannot be made", "Vorq Installation Error [6]",
       [](const std::string &) { ArmFault(FAULT_MAKE_FOLDER, 1); }},
      {"the move into the backup folder fails", "Vorq Installation Error [7]",
       [](const std::string &) { ArmFault(FAULT_MOVE_FILE, 1); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    RemoveTree(dest);
    ResetFrontEndRecord();
    auto old = PlantOldInstall(dest);
    ResetFaultCounts();
    c.arrange(dest);
    RunResult run = Install(true, false);
    DisarmFaults();
    EXPECT_EQ(RUN_PUMP_FAILED, run.end);
    EXPECT_EQ(2, run.lastPumpResult);
    EXPECT_EQ(c.caption, LastErrorCaption());
    EXPECT_EQ(old["vorq32.exe"], ReadFileBytes(dest + "/vorq32.exe"));
    EXPECT_TRUE(TempFolderEntries().empty());
  }
}

} // namespace
