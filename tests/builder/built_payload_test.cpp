// The payload this build made from the staged sample files, the header the installer is
// compiled against, and the built programs, which must not hold the marker anywhere.
#include "engine/target_files.h"
#include "payload/marker.h"
#include "payload/payload_crc.h"
#include "payload_checksum.h"
#include "tests/builder/sample_tree.h"
#include "tests/support/test_files.h"

#include "builder/file_bytes.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <dirent.h>
#include <sys/stat.h>

namespace {

std::vector<size_t> Occurrences(const std::string &bytes, const std::string &marker) {
  std::vector<size_t> offsets;
  for (size_t at = bytes.find(marker); at != std::string::npos; at = bytes.find(marker, at + 1))
    offsets.push_back(at);
  return offsets;
}

TEST(BuiltPayload, StreamsDecodeToTheStagedFiles) {
  const std::string marker = MarkerText();
  const std::string payload = ReadFileBytes(VORQ_PAYLOAD_FILE);
  const std::vector<size_t> at = Occurrences(payload, marker);
  ASSERT_EQ(at.size(), 13u);
  ASSERT_EQ(at[0], 0u);
  ASSERT_EQ(at[12], at[11] + 4);
  EXPECT_EQ(payload.substr(at[12] + 4), "\r\n");

  std::string streams;
  for (int k = 0; k < TARGET_COUNT; ++k) {
    const std::string stream = payload.substr(at[k] + 4, at[k + 1] - at[k] - 4);
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(
        ExpandToMemory(reinterpret_cast<const uint8_t *>(stream.data()), stream.size(), &decoded));
    const std::string staged =
        ReadFileBytes(std::string(VORQ_SAMPLE_DIR) + "/" + TargetFileTable[k]);
    EXPECT_TRUE(std::string(decoded.begin(), decoded.end()) == staged) << TargetFileTable[k];
    streams += stream;
  }
  const uint32_t crc = static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef *>(streams.data()), streams.size()));
  EXPECT_EQ(static_cast<uint32_t>(VORQ_PAYLOAD_CRC), crc) << "the generated header";
  EXPECT_EQ(static_cast<size_t>(VORQ_PAYLOAD_SIZE), payload.size());
  EXPECT_EQ(ComputePayloadCrc(VORQ_PAYLOAD_FILE), crc) << "the installer's own pass";
  EXPECT_NE(crc, 0u);
}

// The programs of the build: vorq-pack, vorq-setup, the test programs, any Windows image.
// Only the folders the build writes its programs into: what tests leave elsewhere in the
// build folder (copies of installers that a test has damaged on purpose) is theirs.
void CollectPrograms(const std::string &dir, int depth, std::vector<std::string> *programs) {
  for (const std::string &name : ListDirectory(dir)) {
    const std::string path = dir + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
      continue;
    if (S_ISDIR(st.st_mode)) {
      if (depth > 0 && name != "CMakeFiles")
        CollectPrograms(path, depth - 1, programs);
    } else if (S_ISREG(st.st_mode) &&
               ((st.st_mode & S_IXUSR) != 0 ||
                (name.size() > 4 && name.substr(name.size() - 4) == ".exe"))) {
      programs->push_back(path);
    }
  }
}

TEST(BuiltPayload, MarkerStandsOnlyInThePayload) {
  const std::string marker = MarkerText();
  // Each installer carries one of the build's payloads and exactly its markers.
  std::vector<std::string> payloads = {ReadFileBytes(VORQ_PAYLOAD_FILE)};
  if (*VORQ_SCALE_PAYLOAD_FILE)
    payloads.push_back(ReadFileBytes(VORQ_SCALE_PAYLOAD_FILE));
  for (const std::string &payload : payloads)
    ASSERT_EQ(Occurrences(payload, marker).size(), 13u);

  std::vector<std::string> programs = {VORQ_PACK_EXE, VORQ_SETUP_EXE};
  for (const char *folder : {"builder", "headless", "tests", "bench", "win", "win-scale"})
    CollectPrograms(std::string(VORQ_BINARY_DIR) + "/" + folder, 3, &programs);
  size_t scanned = 0, carriers = 0;
  for (const std::string &path : programs) {
    const std::string bytes = ReadFileBytes(path);
    const std::vector<size_t> found = Occurrences(bytes, marker);
    const std::string *carried = nullptr;
    size_t start = std::string::npos;
    for (const std::string &payload : payloads) {
      start = bytes.find(payload);
      if (start != std::string::npos) {
        carried = &payload;
        break;
      }
    }
    if (!carried) {
      EXPECT_TRUE(found.empty()) << path << " holds the marker at byte "
                                 << (found.empty() ? 0 : found[0]);
    } else {
      std::vector<size_t> expected;
      for (size_t offset : Occurrences(*carried, marker))
        expected.push_back(start + offset);
      EXPECT_EQ(found, expected) << path;
      ++carriers;
    }
    ++scanned;
  }
  EXPECT_GE(scanned, 3u);
  EXPECT_GE(carriers, payloads.size()) << "every payload is carried by an installer";
}

} // namespace
