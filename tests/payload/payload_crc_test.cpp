// The integrity check's scan and checksum, against zlib's crc32 of what should be hashed.
#include "payload/marker.h"
#include "payload/payload_crc.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string Marker() {
  return std::string(PayloadMarker, MARKER_LENGTH);
}

uint32_t ZlibCrc(const std::string &bytes) {
  return static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef *>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// Bytes that cannot start a marker: the marker's first letter never occurs.
std::string Filler(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char &c : bytes) {
    c = static_cast<char>(random());
    if (c == PayloadMarker[0])
      c = '.';
  }
  return bytes;
}

class PayloadCrcTest : public ::testing::Test {
protected:
  void SetUp() override {
    FillPayloadMarker();
    ResetFrontEndRecord();
  }
  uint32_t CrcOf(const std::string &image) {
    const std::string path = scratch / "image";
    WriteFileBytes(path, image);
    return ComputePayloadCrc(path.c_str());
  }
  // prefix, marker, each stream and the marker, the marker, suffix.
  std::string Image(const std::string &prefix, const std::vector<std::string> &streams,
                    const std::string &suffix) {
    std::string image = prefix + Marker();
    for (const std::string &s : streams)
      image += s + Marker();
    return image + Marker() + suffix;
  }
  ScratchDir scratch;
};

TEST_F(PayloadCrcTest, ChecksumIsCrc32OfTheConcatenatedStreams) {
  std::vector<std::string> streams;
  std::string all;
  for (unsigned k = 0; k < 11; ++k) {
    streams.push_back(Filler(1 + 977 * k, k));
    all += streams.back();
  }
  EXPECT_EQ(CrcOf(Image(Filler(5000, 99), streams, "\r\n")), ZlibCrc(all));
  EXPECT_EQ(frontEndRecord.waitCursors, 1);
  EXPECT_EQ(frontEndRecord.restoredCursors, 1);
}

TEST_F(PayloadCrcTest, MarkerSplitAcrossReadBlocksIsRecognised) {
  const std::vector<std::string> streams = {Filler(700, 1), Filler(3000, 2)};
  const uint32_t expected = ZlibCrc(streams[0] + streams[1]);
  // The first marker starts 1 to 3 bytes before the end of the first 1024-byte block,
  // or right at its end; the later markers fall across other boundaries.
  for (size_t start = CRC_BLOCK_SIZE - 3; start <= CRC_BLOCK_SIZE; ++start) {
    EXPECT_EQ(CrcOf(Image(Filler(start, 3), streams, "")), expected) << "marker at " << start;
  }
  // The closing double marker across the boundary of the fourth block.
  const std::string head = Filler(4096 - 2 - 4 - 700 - 4 - 4 - 300, 4);
  EXPECT_EQ(CrcOf(Image(head, {Filler(700, 5), Filler(300, 6)}, "tail")),
            ZlibCrc(Filler(700, 5) + Filler(300, 6)));
}

TEST_F(PayloadCrcTest, MarkerAfterAPartialMatchIsMissed) {
  const std::string marker = Marker();
  const std::string next = Filler(500, 8);
  for (size_t held = 1; held < MARKER_LENGTH; ++held) {
    // Stream 0 ends with the marker's first letters: the marker after it is not seen, so
    // its bytes and stream 1 are hashed as part of stream 0.
    const std::string first = Filler(300, 7) + marker.substr(0, held);
    EXPECT_EQ(CrcOf(Image("", {first, next}, "")), ZlibCrc(first + marker + next))
        << held << " letters held";
  }
}

TEST_F(PayloadCrcTest, NoStreamGivesZero) {
  const std::string marker = Marker();
  const std::vector<std::string> images = {
      "",
      Filler(10000, 9),                            // no marker at all
      Filler(100, 10) + marker + marker + "stuff", // the first marker directly doubled
      marker + marker,
  };
  for (const std::string &image : images)
    EXPECT_EQ(CrcOf(image), 0u) << image.size() << " bytes";
}

TEST_F(PayloadCrcTest, FileThatCannotBeReadGivesZero) {
  // A missing file: nothing to show the wait cursor for.
  EXPECT_EQ(ComputePayloadCrc((scratch / "missing").c_str()), 0u);
  EXPECT_EQ(frontEndRecord.waitCursors, 0);
  // A folder opens but fails at the first read: the cursor comes back.
  EXPECT_EQ(ComputePayloadCrc(scratch.path.c_str()), 0u);
  EXPECT_EQ(frontEndRecord.waitCursors, 1);
  EXPECT_EQ(frontEndRecord.restoredCursors, 1);
}

TEST_F(PayloadCrcTest, BytesOutsideThePayloadChangeNothing) {
  const std::vector<std::string> streams = {Filler(2000, 11), Filler(17, 12), Filler(999, 13)};
  const uint32_t expected = ZlibCrc(streams[0] + streams[1] + streams[2]);
  const std::string marker = Marker();
  const std::vector<std::pair<std::string, std::string>> surroundings = {
      {"", ""},
      {Filler(3000, 14), "\r\n"},
      {"MZ\x90", Filler(5000, 15)}, // not "MZ" alone: it ends with the marker's first letter
      {"", marker + Filler(100, 16) + marker}, // even further markers after the end
      {Filler(1, 17), marker.substr(0, 3)},
  };
  for (const auto &s : surroundings)
    EXPECT_EQ(CrcOf(Image(s.first, streams, s.second)), expected)
        << s.first.size() << " bytes before, " << s.second.size() << " after";
}

} // namespace
