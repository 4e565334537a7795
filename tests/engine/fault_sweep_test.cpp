// Every injected fault and every abort point, over an earlier installation and into a
// fresh folder: nothing of the user's is lost and nothing of the run is left behind.
#include "engine/install_state.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/fault_injection.h"
#include "tests/support/recording_front_end.h"

#include <set>

namespace {

class FaultSweepTest : public EngineTest {
protected:
  std::map<std::string, std::string> original; // the user's files before the run

  void PlantEarlierInstall() {
    RemoveTree(dest);
    MakeDirectory(dest);
    original.clear();
    for (const char *name : TargetFileTable) {
      original[name] = std::string("earlier ") + name + std::string(300, '.');
      WriteFileBytes(dest + "/" + name, original[name]);
    }
    original["notes.txt"] = "not one of ours";
    WriteFileBytes(dest + "/notes.txt", original["notes.txt"]);
  }

  void CheckInstalled(bool keepSettings) {
    for (const auto &entry : SampleFiles()) {
      bool kept = keepSettings && original.count(entry.first) &&
                  entry.first.find(".ini") != std::string::npos;
      EXPECT_TRUE(SameBytes(kept ? original[entry.first] : entry.second,
                            ReadFileBytes(dest + "/" + entry.first)))
          << entry.first;
    }
  }

  // After a failed or aborted run: every file of the user's is byte-identical in place or
  // in backup/, and nothing else is there.
  void CheckNothingLostNothingLeft(bool destExisted, RunEnd end) {
    EXPECT_TRUE(TempFolderEntries().empty()) << "temporary file left";
    EXPECT_EQ(nullptr, installState.image);
    EXPECT_EQ(nullptr, installState.tempOut);
    if (!destExisted) {
      // Only a run that never got to the pump leaves the (empty) folder it created.
      if (end == RUN_BEGIN_FAILED)
        EXPECT_TRUE(ListDirectory(dest).empty());
      else
        EXPECT_FALSE(PathExists(dest)) << "the folder this run created is left";
      return;
    }
    ASSERT_TRUE(IsDirectory(dest)) << "a folder that existed before was removed";
    std::map<std::string, std::string> now = SnapshotTree(dest);
    for (const auto &entry : now) {
      std::string name = entry.first;
      bool inBackup = name.rfind("backup/", 0) == 0;
      std::string plain = inBackup ? name.substr(7) : name;
      ASSERT_TRUE(original.count(plain)) << name << " was left behind by the run";
      EXPECT_EQ(original[plain], entry.second) << name << " is not the user's file";
    }
    for (const auto &entry : original)
      EXPECT_TRUE(now.count(entry.first) || now.count("backup/" + entry.first))
          << entry.first << " is lost";
  }

  void Sweep(bool destExists, bool keepSettings) {
    const std::set<std::string> captions = {
        "Vorq Installation Error [1]", "Vorq Installation Error [2]",
        "Vorq Installation Error [3]", "Vorq Installation Error [4]",
        "Vorq Installation Error [5]", "Vorq Installation Error [6]",
        "Vorq Installation Error [7]", "Vorq Installation Error [9]",
        "Vorq Installation Error [11]"};
    auto arrange = [&] {
      if (destExists)
        PlantEarlierInstall();
      else
        RemoveTree(dest);
    };
    arrange();
    ResetFaultCounts();
    ASSERT_EQ(RUN_INSTALLED, Install(true, keepSettings).end);
    int calls[FAULT_POINT_COUNT];
    for (int p = 0; p < FAULT_POINT_COUNT; ++p)
      calls[p] = FaultCallCount(static_cast<FaultPoint>(p));

    int failedRuns = 0;
    for (int p = 0; p < FAULT_POINT_COUNT; ++p) {
      for (int nth = 1; nth <= calls[p]; ++nth) {
        SCOPED_TRACE(std::string(faultPointNames[p]) + " call " + std::to_string(nth) + " fails");
        arrange();
        ResetFrontEndRecord();
        ResetFaultCounts();
        ArmFault(static_cast<FaultPoint>(p), nth);
        RunResult run = Install(true, keepSettings);
        DisarmFaults();
        if (run.end == RUN_INSTALLED) {
          // A fault the engine may shrug off (an attribute it could not clear, a deletion
          // that worked the second time) must leave a complete installation.
          EXPECT_TRUE(frontEndRecord.errorBoxes.empty());
          CheckInstalled(keepSettings);
          EXPECT_TRUE(TempFolderEntries().empty());
          continue;
        }
        ++failedRuns;
        ASSERT_EQ(1u, frontEndRecord.errorBoxes.size()) << "a failure is told exactly once";
        EXPECT_TRUE(captions.count(LastErrorCaption())) << LastErrorCaption();
        CheckNothingLostNothingLeft(destExists, run.end);
      }
    }
    EXPECT_GT(failedRuns, 10) << "the sweep should reach many failure paths";
  }
};

TEST_F(FaultSweepTest, OverAnEarlierInstallationWithBackups) {
  Sweep(true, false);
}

TEST_F(FaultSweepTest, OverAnEarlierInstallationKeepingSettings) {
  Sweep(true, true);
}

TEST_F(FaultSweepTest, IntoAFreshFolder) {
  Sweep(false, true);
}

TEST_F(FaultSweepTest, AbortAfterEverySlice) {
  for (bool destExists : {true, false}) {
    if (destExists)
      PlantEarlierInstall();
    RunResult full = Install(true, false);
    ASSERT_EQ(RUN_INSTALLED, full.end);
    ASSERT_GE(full.slices, 1) << "the sample image should take more than one slice";
    for (int k = 1; k <= full.slices; ++k) {
      SCOPED_TRACE("abort after slice " + std::to_string(k));
      if (destExists)
        PlantEarlierInstall();
      else
        RemoveTree(dest);
      ResetFrontEndRecord();
      RunResult run = Install(true, false, k);
      ASSERT_EQ(RUN_ABORTED, run.end);
      EXPECT_TRUE(frontEndRecord.errorBoxes.empty());
      CheckNothingLostNothingLeft(destExists, run.end);
      // The next Install from the options page completes.
      ASSERT_EQ(RUN_INSTALLED, Install(true, false).end);
      CheckInstalled(false);
    }
  }
}

TEST_F(FaultSweepTest, CuttingAndWritingFaultsAreReportedWithTheirOwnCaption) {
  struct Case {
    FaultPoint point;
    int nth;
    const char *caption;
  } cases[] = {
      {FAULT_WRITE, 1, "Vorq Installation Error [11]"}, // the first block is the temp file's
      {FAULT_READ, 1, "Vorq Installation Error [9]"},   // the image, while scanning
      {FAULT_CLOSE, 1, "Vorq Installation Error [11]"}, // the temp file of stream 0
      {FAULT_CLOSE, 2, "Vorq Installation Error [5]"},  // the first installed target
      {FAULT_OPEN_FILE, 1, "Vorq Installation Error [9]"},
      {FAULT_CREATE_NEW_FILE, 1, "Vorq Installation Error [11]"},
      {FAULT_OPEN_FILE, 2, "Vorq Installation Error [3]"},
      {FAULT_OPEN_FILE, 3, "Vorq Installation Error [4]"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(faultPointNames[c.point]) + " " + std::to_string(c.nth));
    RemoveTree(dest);
    ResetFrontEndRecord();
    ResetFaultCounts();
    ArmFault(c.point, c.nth);
    RunResult run = Install();
    DisarmFaults();
    EXPECT_EQ(RUN_PUMP_FAILED == run.end || RUN_BEGIN_FAILED == run.end, true);
    EXPECT_EQ(c.caption, LastErrorCaption());
    EXPECT_TRUE(!PathExists(dest) || ListDirectory(dest).empty());
    EXPECT_TRUE(TempFolderEntries().empty());
  }
}

} // namespace
