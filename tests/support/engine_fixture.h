// Common ground of the engine tests: a scratch destination and temporary folder, the
// counting fault layer in place, the built sample payload as the image, a clean record.
#pragma once

#include "tests/support/engine_driver.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

class EngineTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The eleven sample files by target name.
  static const std::map<std::string, std::string> &SampleFiles();

  // Installs with the given options into dest (default: the scratch "dest" folder).
  RunResult Install(bool makeBackups = true, bool keepSettings = true, int abortAfter = -1);

  // The files the temporary folder holds (a finished or rolled-back run leaves none).
  std::vector<std::string> TempFolderEntries() const {
    return ListDirectory(tempDir.path);
  }

  ScratchDir work;
  ScratchDir tempDir;
  std::string dest;
  std::string image;

private:
  std::string savedTmpdir;
  bool hadTmpdir = false;
  uint32_t savedExpectedCrc = 0;
};

// Installs from the image a test made, with the expected checksum pointed at it and a
// fresh fault layer.
void ExpectImage(const std::string &imagePath);
