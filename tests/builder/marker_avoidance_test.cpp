// Streams that would hold a marker, or end with its first letters, are encoded again until
// they are clean; the marker is a parameter, so these tests pick one the encoding hits.
#include "builder/clean_stream.h"
#include "builder/file_bytes.h"
#include "tests/support/lzh_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Sample(unsigned seed, size_t size) {
  // Words from a small vocabulary: compressible, yet every seed gives other bits.
  static const char *const words[] = {"nick", "join", "part", "#vorq", "server", "=", "\r\n",
                                      "port", "6667", "away", "ctcp",  "ping",   " "};
  std::mt19937 random(seed);
  std::string text;
  while (text.size() < size)
    text += words[random() % (sizeof words / sizeof *words)];
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> PlainEncoding(const std::vector<uint8_t> &data, ParseMode mode) {
  MatchTable matches;
  FindMatches(data.data(), data.size(), DEFAULT_SEARCH_DEPTH, &matches);
  EncodedStream encoded;
  EncodeStream(data.data(), data.size(), matches, mode, {}, &encoded);
  return encoded.bytes;
}

bool Distinct(const std::vector<uint8_t> &bytes) {
  std::vector<uint8_t> sorted = bytes;
  std::sort(sorted.begin(), sorted.end());
  return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

// Marker bytes completed with values that occur nowhere among the given ones.
std::vector<uint8_t> CompleteMarker(std::vector<uint8_t> marker) {
  for (uint8_t candidate = 'A'; marker.size() < 4; ++candidate)
    if (std::find(marker.begin(), marker.end(), candidate) == marker.end())
      marker.push_back(candidate);
  return marker;
}

void ExpectCleanAndDecodable(const std::vector<uint8_t> &data, const std::vector<uint8_t> &stream,
                             const std::vector<uint8_t> &marker) {
  auto at = std::search(stream.begin(), stream.end(), marker.begin(), marker.end());
  EXPECT_TRUE(at == stream.end()) << "marker at " << (at - stream.begin());
  for (size_t held = 1; held < 4; ++held)
    EXPECT_FALSE(std::equal(marker.begin(), marker.begin() + held, stream.end() - held))
        << "ends with " << held << " marker bytes";
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(ExpandToMemory(stream.data(), stream.size(), &decoded));
  EXPECT_TRUE(decoded == data);
  std::vector<uint8_t> extracted;
  std::string error;
  ASSERT_TRUE(ExtractWithLhasa(Lh1Archive("clean.txt", stream.data() + 4, stream.size() - 4, data),
                               "clean.txt", &extracted, &error))
      << error;
  EXPECT_TRUE(extracted == data);
}

TEST(MarkerAvoidance, StreamHoldingTheMarkerIsEncodedAgain) {
  for (ParseMode mode : {PARSE_OPTIMAL, PARSE_GREEDY}) {
    const std::vector<uint8_t> data = Sample(1, 40000);
    const std::vector<uint8_t> plain = PlainEncoding(data, mode);
    // Four distinct bytes from the middle of the plain encoding become the marker.
    std::vector<uint8_t> marker;
    for (size_t at = plain.size() / 2; at + 4 < plain.size(); ++at) {
      marker.assign(plain.begin() + at, plain.begin() + at + 4);
      if (Distinct(marker))
        break;
    }
    ASSERT_TRUE(Distinct(marker));
    EncodedStream clean;
    unsigned attempts = 0;
    std::string error;
    ASSERT_TRUE(
        CompressClean(data.data(), data.size(), marker.data(), mode, &clean, &attempts, &error))
        << error;
    EXPECT_GT(attempts, 1u);
    EXPECT_FALSE(clean.bytes == plain);
    ExpectCleanAndDecodable(data, clean.bytes, marker);
    // The same input gives the same stream again.
    EncodedStream again;
    ASSERT_TRUE(
        CompressClean(data.data(), data.size(), marker.data(), mode, &again, &attempts, &error));
    EXPECT_TRUE(again.bytes == clean.bytes);
  }
}

TEST(MarkerAvoidance, StreamEndingWithTheMarkersFirstBytesIsEncodedAgain) {
  for (size_t held = 1; held < 4; ++held) {
    // A sample whose plain encoding ends with `held` distinct bytes, made the marker's start.
    std::vector<uint8_t> data, plain, tail;
    for (unsigned seed = 1; seed < 50; ++seed) {
      data = Sample(seed, 3000 + seed);
      plain = PlainEncoding(data, PARSE_OPTIMAL);
      tail.assign(plain.end() - held, plain.end());
      if (Distinct(tail))
        break;
    }
    ASSERT_TRUE(Distinct(tail));
    const std::vector<uint8_t> marker = CompleteMarker(tail);
    EncodedStream clean;
    unsigned attempts = 0;
    std::string error;
    ASSERT_TRUE(CompressClean(data.data(), data.size(), marker.data(), PARSE_OPTIMAL, &clean,
                              &attempts, &error))
        << error;
    EXPECT_GT(attempts, 1u) << held;
    ExpectCleanAndDecodable(data, clean.bytes, marker);
  }
}

TEST(MarkerAvoidance, InputWithoutAlternativeParseIsRefused) {
  // One byte has one parse only; a marker that its stream ends with cannot be avoided.
  const std::vector<uint8_t> data = {'Q'};
  const std::vector<uint8_t> plain = PlainEncoding(data, PARSE_OPTIMAL);
  const std::vector<uint8_t> marker = CompleteMarker({plain.back()});
  EncodedStream clean;
  unsigned attempts = 0;
  std::string error;
  EXPECT_FALSE(CompressClean(data.data(), data.size(), marker.data(), PARSE_OPTIMAL, &clean,
                             &attempts, &error));
  EXPECT_NE(error.find("marker"), std::string::npos) << error;
}

TEST(MarkerAvoidance, ConflictsAreFoundWhereTheyStand) {
  const std::vector<uint8_t> marker = {'W', 'X', 'Y', 'Z'};
  struct Case {
    std::string stream;
    long conflict;
  };
  const std::vector<Case> cases = {
      {"abcdefg", -1}, {"abWXYZcd", 2}, {"WXYZ", 0},    {"abcW", 3}, {"abcWX", 3}, {"abWXY", 2},
      {"abcX", -1},    {"WXYWXYZ", 3},  {"abWXYa", -1}, {"", -1},    {"W", 0},     {"XYZ", -1},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> stream(c.stream.begin(), c.stream.end());
    EXPECT_EQ(FindMarkerConflict(stream, marker.data()), c.conflict) << c.stream;
  }
}

} // namespace
