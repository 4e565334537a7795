// The stream decoder on hand-built streams: each case is one rule of the format.
#include "payload/expand.h"
#include "tests/support/hand_stream.h"
#include "tests/support/recording_front_end.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>

namespace {

struct Decoded {
  bool ok;
  std::string bytes;
};

Decoded Expand(const std::vector<uint8_t> &stream) {
  FILE *input = std::tmpfile();
  FILE *output = std::tmpfile();
  EXPECT_TRUE(input && output);
  if (!stream.empty())
    std::fwrite(stream.data(), 1, stream.size(), input);
  std::rewind(input);
  Decoded result;
  result.ok = ExpandStream(input, output);
  long length = std::ftell(output);
  result.bytes.resize(length > 0 ? length : 0);
  std::rewind(output);
  EXPECT_EQ(std::fread(&result.bytes[0], 1, result.bytes.size(), output), result.bytes.size());
  std::fclose(input);
  std::fclose(output);
  return result;
}

class ExpandTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetFrontEndRecord();
  }
};

TEST_F(ExpandTest, NoStreamWithoutSizeFails) {
  const std::vector<std::vector<uint8_t>> noStream = {
      {0, 0, 0, 0, 0xFF, 0xFF}, // a size of 0, whatever follows
      {0, 0, 0, 0},
      {5, 0}, // the input ends inside the size field
      {}};
  for (const auto &stream : noStream) {
    Decoded decoded = Expand(stream);
    EXPECT_FALSE(decoded.ok);
    EXPECT_EQ(decoded.bytes, "");
  }
  EXPECT_EQ(frontEndRecord.wipes, 0);
  EXPECT_TRUE(frontEndRecord.fileProgress.empty());
}

struct SymbolCase {
  const char *what;
  uint32_t size;
  std::vector<HandSymbol> symbols;
  std::string expected;
};

TEST_F(ExpandTest, MatchesCopyFromTheRingAsStated) {
  const std::vector<SymbolCase> cases = {
      {"a stream may begin with a match into the unwritten spaces",
       10,
       {Match(10, 100)},
       std::string(10, ' ')},
      {"the farthest distance a payload uses reads spaces too",
       60,
       {Match(60, 4035)},
       std::string(60, ' ')},
      {"spaces just behind the first written byte", 4, {Literal('x'), Match(3, 4)}, "x   "},
      {"distance 0 repeats the last byte", 11, {Literal('A'), Match(10, 0)}, std::string(11, 'A')},
      {"a copy reaching into itself repeats a pattern",
       8,
       {Literal('a'), Literal('b'), Match(6, 1)},
       "abababab"},
      {"a distance counts back from the byte before the write position",
       7,
       {Literal('1'), Literal('2'), Literal('3'), Literal('4'), Match(3, 3)},
       "1234123"},
      {"a match past the stated size is written whole",
       3,
       {Literal('a'), Match(10, 0)},
       std::string(11, 'a')},
  };
  for (const SymbolCase &c : cases) {
    Decoded decoded = Expand(HandStream(c.size, c.symbols));
    EXPECT_TRUE(decoded.ok) << c.what;
    EXPECT_EQ(decoded.bytes, c.expected) << c.what;
  }
}

TEST_F(ExpandTest, WriteFailureEndsWithFalseAndLeavesTheBar) {
  if (access("/dev/full", W_OK) != 0)
    GTEST_SKIP() << "/dev/full is not available";
  // Long enough to fill the output buffer several times over, so a write fails inside.
  std::vector<HandSymbol> symbols = {Literal('a')};
  for (int k = 0; k < 3000; ++k)
    symbols.push_back(Match(60, 0));
  std::vector<uint8_t> stream = HandStream(1 + 60 * 3000, symbols);
  FILE *input = std::tmpfile();
  std::fwrite(stream.data(), 1, stream.size(), input);
  std::rewind(input);
  FILE *output = std::fopen("/dev/full", "wb");
  ASSERT_NE(output, nullptr);
  EXPECT_FALSE(ExpandStream(input, output));
  std::fclose(output);
  std::fclose(input);
  EXPECT_EQ(frontEndRecord.wipes, 0);
}

struct ProgressCase {
  int width;
  uint32_t size;
  std::vector<HandSymbol> symbols;
  std::vector<uint32_t> reported; // counts passed to DrawFileProgress
};

TEST_F(ExpandTest, ProgressComesWhenASymbolEndsOnAStep) {
  const std::vector<ProgressCase> cases = {
      // step 10 / 3 = 3
      {3, 10, std::vector<HandSymbol>(10, Literal('x')), {3, 6, 9}},
      // size below the width: step 1, a call after every symbol
      {200, 4, {Literal('a'), Match(3, 0)}, {1, 4}},
      // step 8 / 4 = 2; multiples passed inside a match bring no call
      {4, 8, {Literal('a'), Match(5, 0), Literal('b'), Literal('c')}, {6, 8}},
      // a width of 1 gives one step of the whole size
      {1, 5, std::vector<HandSymbol>(5, Literal('y')), {5}},
  };
  for (const ProgressCase &c : cases) {
    ResetFrontEndRecord();
    frontEndRecord.fileBarWidth = c.width;
    ASSERT_TRUE(Expand(HandStream(c.size, c.symbols)).ok);
    std::vector<uint32_t> counts;
    for (const FileProgressCall &call : frontEndRecord.fileProgress) {
      counts.push_back(call.done);
      EXPECT_EQ(call.total, c.size);
    }
    EXPECT_EQ(counts, c.reported) << "width " << c.width << ", size " << c.size;
    EXPECT_EQ(frontEndRecord.wipes, 1);
  }
}

TEST_F(ExpandTest, ArbitraryBytesDecodeToTheStatedSizeWithinRange) {
  // Whatever the bits, the tables and the ring are indexed in range (the sanitizer build
  // checks the accesses), and decoding stops within one match past the stated size.
  std::mt19937 random(20240611);
  for (int run = 0; run < 400; ++run) {
    uint32_t size = 1 + random() % 5000;
    std::vector<uint8_t> stream = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), 0,
                                   0};
    size_t bits = random() % 3000;
    for (size_t k = 0; k < bits; ++k)
      stream.push_back(static_cast<uint8_t>(random()));
    Decoded decoded = Expand(stream);
    ASSERT_TRUE(decoded.ok) << "run " << run;
    EXPECT_GE(decoded.bytes.size(), size) << "run " << run;
    EXPECT_LE(decoded.bytes.size(), size + 59) << "run " << run;
  }
}

} // namespace
