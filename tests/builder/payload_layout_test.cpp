// The payload's layout and the header, built from a folder of eleven files.
#include "builder/file_bytes.h"
#include "builder/payload_layout.h"
#include "engine/target_files.h"
#include "tests/builder/sample_tree.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <unistd.h>

namespace {

// Offsets of every occurrence of the marker, found by plain search.
std::vector<size_t> MarkerOffsets(const std::string &bytes, const std::string &marker) {
  std::vector<size_t> offsets;
  for (size_t at = bytes.find(marker); at != std::string::npos; at = bytes.find(marker, at + 1))
    offsets.push_back(at);
  return offsets;
}

class PayloadLayoutTest : public ::testing::Test {
protected:
  ScratchDir dir;
  std::vector<std::string> files = WriteSampleTree(dir.path);
  std::string marker = MarkerText();
};

TEST_F(PayloadLayoutTest, ElevenStreamsBetweenMarkersThenDoubleMarkerAndLineEnd) {
  Payload payload;
  std::string error;
  ASSERT_TRUE(BuildPayload(dir.path, PARSE_OPTIMAL, &payload, &error)) << error;
  const std::string bytes(payload.bytes.begin(), payload.bytes.end());

  const std::vector<size_t> at = MarkerOffsets(bytes, marker);
  ASSERT_EQ(at.size(), 13u);
  EXPECT_EQ(at[0], 0u);
  EXPECT_EQ(at[12], at[11] + 4) << "the double marker";
  EXPECT_EQ(bytes.size(), at[12] + 4 + 2);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

  std::string streams;
  for (int k = 0; k < TARGET_COUNT; ++k) {
    const std::string stream = bytes.substr(at[k] + 4, at[k + 1] - at[k] - 4);
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(
        ExpandToMemory(reinterpret_cast<const uint8_t *>(stream.data()), stream.size(), &decoded));
    EXPECT_EQ(std::string(decoded.begin(), decoded.end()), files[k]) << TargetFileTable[k];
    EXPECT_EQ(payload.files[k].stream.size(), stream.size());
    streams += stream;
  }
  const uint32_t crc = static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef *>(streams.data()), streams.size()));
  EXPECT_EQ(payload.crc, crc);
  EXPECT_NE(payload.crc, 0u);

  char define[64];
  std::snprintf(define, sizeof define, "#define VORQ_PAYLOAD_CRC 0x%08Xu\n", crc);
  EXPECT_NE(ChecksumHeaderText(payload).find(define), std::string::npos)
      << ChecksumHeaderText(payload);
}

TEST_F(PayloadLayoutTest, MissingOrEmptyFileIsRefusedByName) {
  struct Case {
    const char *name;
    bool remove; // otherwise emptied
  };
  for (const Case &c : {Case{"popups.ini", true}, Case{"aliases.ini", false},
                        Case{"vorq32.exe", true}, Case{"urls.ini", false}}) {
    ScratchDir broken;
    WriteSampleTree(broken.path);
    const std::string path = broken / c.name;
    if (c.remove)
      unlink(path.c_str());
    else
      WriteFileBytes(path, "");
    Payload payload;
    std::string error;
    EXPECT_FALSE(BuildPayload(broken.path, PARSE_OPTIMAL, &payload, &error));
    EXPECT_NE(error.find(c.name), std::string::npos) << error;
    EXPECT_NE(error.find(c.remove ? "missing" : "empty"), std::string::npos) << error;
  }
}

} // namespace
