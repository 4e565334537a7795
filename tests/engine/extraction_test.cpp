// The extraction pump over whole images: what it installs, what it says, and how it
// fails.
#include "engine/extraction.h"
#include "engine/install_state.h"
#include "engine/platform_files.h"
#include "payload/marker.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/fault_injection.h"
#include "tests/support/recording_front_end.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace {

using ExtractionTest = EngineTest;

std::string Marker() {
  FillPayloadMarker();
  return PayloadMarker;
}

// Offsets of every marker in an image.
std::vector<size_t> MarkerOffsets(const std::string &bytes) {
  std::vector<size_t> at;
  for (size_t p = bytes.find(Marker()); p != std::string::npos; p = bytes.find(Marker(), p + 1))
    at.push_back(p);
  return at;
}

void ExpectSampleInstalled(const std::string &dest,
                           const std::map<std::string, std::string> &files) {
  for (const auto &entry : files)
    EXPECT_TRUE(SameBytes(entry.second, ReadFileBytes(dest + "/" + entry.first))) << entry.first;
}

TEST_F(ExtractionTest, InstallsTheSampleByteForByte) {
  RunResult run = Install();
  ASSERT_EQ(RUN_INSTALLED, run.end) << LastErrorCaption();
  ExpectSampleInstalled(dest, SampleFiles());
  EXPECT_EQ(SampleFiles().size(), ListDirectory(dest).size());
  EXPECT_EQ(11, installState.fileIndex);
  EXPECT_EQ(nullptr, installState.image);
  EXPECT_EQ(nullptr, installState.tempOut);
  EXPECT_TRUE(TempFolderEntries().empty()) << "no temporary file is left";
  EXPECT_TRUE(frontEndRecord.errorBoxes.empty());
  EXPECT_EQ(11, frontEndRecord.wipes) << "the per-file bar is wiped after every stream";
}

TEST_F(ExtractionTest, StatusLineNamesEachFileAsItIsCutAndExtracted) {
  ASSERT_EQ(RUN_INSTALLED, Install().end);
  const std::vector<std::string> &lines = frontEndRecord.statusLines;
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("Scanning files...", lines.front());
  for (const char *name : TargetFileTable) {
    std::string extracting = std::string("Extracting file: ") + name;
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), extracting)) << name;
  }
  // The scan line before each extraction names the same file, or says "Scanning
  // files..." while the overall bar has not moved yet.
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].rfind("Extracting file: ", 0) != 0)
      continue;
    std::string name = lines[i].substr(17);
    EXPECT_TRUE(lines[i - 1] == "Scanning file: " + name || lines[i - 1] == "Scanning files...")
        << lines[i - 1] << " before " << lines[i];
  }
}

TEST_F(ExtractionTest, DrawsFileProgressAtMultiplesOfTheStep) {
  frontEndRecord.fileBarWidth = 7;
  ASSERT_EQ(RUN_INSTALLED, Install().end);
  ASSERT_FALSE(frontEndRecord.fileProgress.empty());
  for (const FileProgressCall &call : frontEndRecord.fileProgress) {
    uint32_t step = std::max<uint32_t>(1, call.total / 7);
    EXPECT_EQ(0u, call.done % step);
    EXPECT_LE(call.done, call.total + 59);
  }
}

TEST_F(ExtractionTest, MarkerSplitAcrossSlicesCutsAtTheRightPlace) {
  // Padding before the payload puts the first marker across the end of the first slice
  // (which consumes bytes 0 to 10000); the scan passes the padding over.
  for (size_t start : {9998u, 9999u, 10000u}) {
    SCOPED_TRACE(start);
    std::string padded = std::string(start, 'x') + ReadFileBytes(image);
    std::string path = work / "padded.img";
    WriteFileBytes(path, padded);
    ExpectImage(path);
    RemoveTree(dest);
    RunResult run = Install();
    ASSERT_EQ(RUN_INSTALLED, run.end) << LastErrorCaption();
    EXPECT_GE(run.slices, 1);
    ExpectSampleInstalled(dest, SampleFiles());
  }
}

TEST_F(ExtractionTest, HelpIndexesAreRemovedAfterTheirHelpFiles) {
  MakeDirectory(dest);
  WriteFileBytes(dest + "/vorq.gid", "index");
  WriteFileBytes(dest + "/ircintro.gid", "index");
  chmod((dest + "/vorq.gid").c_str(), 0444);
  ASSERT_EQ(RUN_INSTALLED, Install().end);
  EXPECT_FALSE(PathExists(dest + "/vorq.gid")) << "a read-only index is made writable first";
  EXPECT_FALSE(PathExists(dest + "/ircintro.gid"));
}

TEST_F(ExtractionTest, KeptHelpFileKeepsItsIndexAndKeptSettingsAreNotDecoded) {
  MakeDirectory(dest);
  WriteFileBytes(dest + "/vorq.ini", "mine");
  ASSERT_EQ(RUN_INSTALLED, Install(true, true).end);
  EXPECT_EQ("mine", ReadFileBytes(dest + "/vorq.ini"));
  EXPECT_NE(frontEndRecord.statusLines.end(),
            std::find(frontEndRecord.statusLines.begin(), frontEndRecord.statusLines.end(),
                      "Extracting file: vorq.ini"))
      << "a kept file is still named";
  EXPECT_EQ(10, frontEndRecord.wipes) << "the kept stream is not decoded";
}

TEST_F(ExtractionTest, BrokenImagesAreRefusedBeforeAnythingIsWritten) {
  std::string payload = ReadFileBytes(image);
  std::vector<size_t> markers = MarkerOffsets(payload);
  ASSERT_EQ(13u, markers.size());
  for (size_t k = 0; k + 2 < markers.size(); ++k) {
    SCOPED_TRACE("flipped byte in stream " + std::to_string(k));
    size_t middle = (markers[k] + 4 + markers[k + 1]) / 2;
    std::string broken = payload;
    broken[middle] = static_cast<char>(broken[middle] ^ 0x01);
    std::string path = work / "broken.img";
    WriteFileBytes(path, broken);
    InstallFaultLayer(path.c_str());
    ResetFrontEndRecord();
    RemoveTree(dest);
    EXPECT_EQ(RUN_BEGIN_FAILED, Install().end);
    EXPECT_EQ("Vorq Installation Error [10]", LastErrorCaption());
    EXPECT_TRUE(ListDirectory(dest).empty());
    EXPECT_TRUE(TempFolderEntries().empty());
  }
}

TEST_F(ExtractionTest, MissingTruncatedAndStreamlessImages) {
  std::string payload = ReadFileBytes(image);
  std::vector<size_t> markers = MarkerOffsets(payload);
  struct Case {
    const char *what;
    std::string bytes; // empty: no file at all
    const char *caption;
    RunEnd end;
  } cases[] = {
      {"missing image", "", "Vorq Installation Error [2]", RUN_BEGIN_FAILED},
      {"truncated in stream 5", payload.substr(0, markers[5] + 40), "Vorq Installation Error [10]",
       RUN_BEGIN_FAILED},
      {"no marker at all", std::string(5000, 'q'), "Vorq Installation Error [2]", RUN_BEGIN_FAILED},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = work / "case.img";
    RemoveTree(path);
    if (!c.bytes.empty())
      WriteFileBytes(path, c.bytes);
    InstallFaultLayer(path.c_str());
    ResetFrontEndRecord();
    EXPECT_EQ(c.end, Install().end);
    EXPECT_EQ(c.caption, LastErrorCaption());
    EXPECT_TRUE(ListDirectory(dest).empty());
  }

  // A stream too short to hold its size field passes the checksum but cannot decode.
  std::string path = work / "tiny.img";
  WriteFileBytes(path, Marker() + "\x01" + Marker() + Marker());
  ExpectImage(path);
  ResetFrontEndRecord();
  RemoveTree(dest);
  RunResult run = Install();
  EXPECT_EQ(RUN_PUMP_FAILED, run.end);
  EXPECT_EQ("Vorq Installation Error [5]", LastErrorCaption());
  EXPECT_FALSE(PathExists(dest)) << "the run created the folder and rolled it back";
  EXPECT_TRUE(TempFolderEntries().empty());
}

TEST_F(ExtractionTest, ImageWithoutMarkersEndsThePumpWithNoStream) {
  std::string path = work / "plain.img";
  WriteFileBytes(path, std::string(25000, 'q'));
  MakeDirectory(dest);
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", dest.c_str());
  ResetInstallState();
  installState.image = std::fopen(path.c_str(), "rb");
  ASSERT_NE(nullptr, installState.image);
  int result, slices = 0;
  while ((result = PumpExtraction()) == PUMP_MORE)
    ++slices;
  EXPECT_EQ(2, slices) << "25000 bytes are two full slices and a last partial one";
  EXPECT_EQ(PUMP_DONE, result);
  EXPECT_EQ(0, installState.fileIndex);
  EXPECT_EQ(nullptr, installState.image);
  EXPECT_TRUE(ListDirectory(dest).empty());
  EXPECT_TRUE(TempFolderEntries().empty());

  // Finished without a stream: a corrupt image, rolled back and told as error [14].
  installState.dirCreated = 1;
  EXPECT_FALSE(CheckStreamsFound());
  EXPECT_EQ("Vorq Installation Error [14]", LastErrorCaption());
  EXPECT_FALSE(PathExists(dest)) << "the roll-back removes the folder the run made";
}

TEST_F(ExtractionTest, LongestDestinationFolderInstalls) {
  const size_t longest = DEST_DIR_SIZE - 1;
  std::string folder = work.path;
  while (folder.size() + 41 < longest - 20) {
    folder += "/" + std::string(40, 'f');
    MakeDirectory(folder);
  }
  dest = folder + "/" + std::string(longest - folder.size() - 1, 'v');
  ASSERT_EQ(299u, dest.size());
  ASSERT_EQ(RUN_INSTALLED, Install().end) << LastErrorCaption();
  ExpectSampleInstalled(dest, SampleFiles());
  // Again over itself, so that every backup path is formed at full length.
  ASSERT_EQ(RUN_INSTALLED, Install(true, false).end) << LastErrorCaption();
  EXPECT_TRUE(
      SameBytes(SampleFiles().at("vorq32.exe"), ReadFileBytes(dest + "/backup/vorq32.exe")));
}

unsigned NoTempFolder(char *, unsigned) {
  return 0;
}

TEST_F(ExtractionTest, TemporaryFileFallsBackWhenNoFolderCanBeHad) {
  MakeDirectory(dest);
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", dest.c_str());
  ResetInstallState();
  ASSERT_EQ(1, BeginExtraction());
  platformOps.tempFolder = NoTempFolder;
  EXPECT_EQ(PUMP_MORE, PumpExtraction());
  // Another run may hold the fallback's "vorq.tmp"; a fresh name beside it is as good.
  EXPECT_EQ(
      0, std::strncmp(fallbackTempFolder, installState.tempPath, std::strlen(fallbackTempFolder)))
      << installState.tempPath;
  RollBackInstall();
  EXPECT_FALSE(PathExists(installState.tempPath));
}

TEST_F(ExtractionTest, PumpStepWithoutAnImageTouchesNothing) {
  MakeDirectory(dest);
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", dest.c_str());
  ResetInstallState();
  installState.fileIndex = 4;
  installState.matchPos = 2;
  InstallState before = installState;
  ResetFaultCounts();
  EXPECT_EQ(PUMP_FAILED, PumpExtraction());
  EXPECT_EQ(0, std::memcmp(&before, &installState, sizeof before));
  for (int point = 0; point < FAULT_POINT_COUNT; ++point)
    EXPECT_EQ(0, FaultCallCount(static_cast<FaultPoint>(point))) << faultPointNames[point];
  EXPECT_TRUE(frontEndRecord.errorBoxes.empty());
  EXPECT_TRUE(frontEndRecord.statusLines.empty());
}

} // namespace
