#include "tests/support/engine_fixture.h"

#include "engine/extraction.h"
#include "engine/install_state.h"
#include "engine/platform_files.h"
#include "payload/marker.h"
#include "payload/payload_crc.h"
#include "tests/support/fault_injection.h"
#include "tests/support/recording_front_end.h"

#include <cstdlib>
#include <cstring>

void EngineTest::SetUp() {
  const char *tmpdir = std::getenv("TMPDIR");
  hadTmpdir = tmpdir != nullptr;
  savedTmpdir = tmpdir ? tmpdir : "";
  setenv("TMPDIR", tempDir.path.c_str(), 1);
  savedExpectedCrc = expectedPayloadCrc;

  dest = work / "dest";
  image = VORQ_PAYLOAD_FILE;
  InstallFaultLayer(image.c_str());
  ResetFrontEndRecord();
  std::memset(&installState, 0, sizeof installState);
  FillPayloadMarker();
}

void EngineTest::TearDown() {
  if (installState.image)
    std::fclose(installState.image);
  if (installState.tempOut)
    std::fclose(installState.tempOut);
  std::memset(&installState, 0, sizeof installState);
  RemoveFaultLayer();
  expectedPayloadCrc = savedExpectedCrc;
  if (hadTmpdir)
    setenv("TMPDIR", savedTmpdir.c_str(), 1);
  else
    unsetenv("TMPDIR");
}

const std::map<std::string, std::string> &EngineTest::SampleFiles() {
  static const std::map<std::string, std::string> files = [] {
    std::map<std::string, std::string> out;
    for (const char *name : TargetFileTable)
      out[name] = ReadFileBytes(std::string(VORQ_SAMPLE_DIR) + "/" + name);
    return out;
  }();
  return files;
}

RunResult EngineTest::Install(bool makeBackups, bool keepSettings, int abortAfter) {
  RunOptions options;
  options.dest = dest;
  options.makeBackups = makeBackups;
  options.keepSettings = keepSettings;
  options.abortAfterSlices = abortAfter;
  return DriveInstall(options);
}

void ExpectImage(const std::string &imagePath) {
  InstallFaultLayer(imagePath.c_str());
  FillPayloadMarker();
  expectedPayloadCrc = ComputePayloadCrc(imagePath.c_str());
}
