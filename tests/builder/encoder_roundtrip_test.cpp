// Every encoder output decodes with the installer's decoder and with lhasa, which nobody
// here wrote, and keeps to the format's limits.
#include "builder/clean_stream.h"
#include "builder/file_bytes.h"
#include "payload/huffman_model.h"
#include "payload/marker.h"
#include "tests/support/lzh_archive.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Input {
  std::string name;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Bytes(const std::string &text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Repeated(const std::string &unit, size_t times) {
  std::string text;
  for (size_t k = 0; k < times; ++k)
    text += unit;
  return Bytes(text);
}

// A large PE executable from a Debian package the project installs.
std::string LargeExecutable() {
  const char *candidates[] = {"/usr/lib/i386-linux-gnu/wine/i386-windows/cmd.exe",
                              "/usr/lib/gcc/i686-w64-mingw32/12-win32/libgomp-1.dll",
                              "/usr/lib/gcc/i686-w64-mingw32/12-posix/libgomp-1.dll"};
  for (const char *path : candidates)
    if (PathExists(path))
      return path;
  return "";
}

// Text long enough for the tree to be rebuilt (32,455 symbols) several times.
std::vector<uint8_t> IniText() {
  std::string text;
  for (int k = 0; text.size() < 300000; ++k)
    text += "[server" + std::to_string(k % 977) + "]\r\nhost=irc" +
            std::to_string(k * 7919 % 1000) +
            ".example.net\r\nport=" + std::to_string(6660 + k % 10) + "\r\n";
  return Bytes(text);
}

// The first n bytes of a sequence in which no three bytes in a row recur (a de Bruijn
// sequence of 3-byte words): a parse of it has literals only, one symbol per byte.
std::vector<uint8_t> NoRepeats(size_t n) {
  std::vector<uint8_t> out;
  std::vector<unsigned> word(4, 0);
  // Lyndon words of length 1 or 3 over 256 letters, in order, joined.
  for (unsigned t = 1; out.size() < n;) {
    if (3 % t == 0)
      for (unsigned k = 1; k <= t && out.size() < n; ++k)
        out.push_back(static_cast<uint8_t>(word[k]));
    t = 3;
    while (t > 0 && word[t] == 255)
      --t;
    if (t == 0)
      break;
    ++word[t];
    for (unsigned k = t + 1; k <= 3; ++k)
      word[k] = word[k - t];
  }
  return out;
}

// Settings lines whose vocabulary grows as the file goes on: statistics that the model
// learns only late, which prices of the model as it stands miss.
std::vector<uint8_t> GrowingSettings(size_t size) {
  std::mt19937 random(3);
  std::string text;
  for (unsigned k = 0; text.size() < size; ++k)
    text += "[net" + std::to_string(k / 500) + "]\r\nserver" + std::to_string(random() % 97) +
            "=irc." + std::to_string(random() % (10 + k / 100)) + ".example.org:6667\r\n";
  return Bytes(text);
}

std::vector<Input> Inputs() {
  std::vector<Input> inputs;
  inputs.push_back({"one byte", {'Q'}});
  inputs.push_back({"two bytes", {'Q', 'Q'}});
  inputs.push_back({"three spaces: a match into the ring's spaces at once", Bytes("   ")});
  inputs.push_back({"a run of zeros", std::vector<uint8_t>(10000, 0)});
  inputs.push_back({"spaces, as the ring starts", std::vector<uint8_t>(5000, ' ')});
  inputs.push_back({"two-byte pattern", Repeated("ab", 5000)});
  std::vector<uint8_t> all;
  for (int k = 0; k < 256; ++k)
    all.push_back(static_cast<uint8_t>(k));
  inputs.push_back({"all 256 byte values", all});
  std::mt19937 random(7);
  std::vector<uint8_t> noise(65536);
  for (uint8_t &b : noise)
    b = static_cast<uint8_t>(random());
  inputs.push_back({"random bytes", noise});
  inputs.push_back({"ini text", IniText()});
  // The tree is first rebuilt while the 32,455th symbol is counted: here among the repeats,
  // where the parse has choices, so the prices change inside them.
  std::vector<uint8_t> rebuildAmongChoices = NoRepeats(32440);
  for (uint8_t b : Repeated("vorq nick ", 300))
    rebuildAmongChoices.push_back(b);
  inputs.push_back({"first rebuild among matches", rebuildAmongChoices});
  inputs.push_back({"first rebuild at the last symbol", NoRepeats(32455)});
  const std::string licence = "/usr/share/common-licenses/GPL-3";
  if (PathExists(licence)) {
    std::string bytes = ReadFileBytes(licence);
    inputs.push_back({licence, Bytes(bytes)});
  }
  return inputs;
}

class EncoderRoundTrip : public ::testing::Test {
protected:
  void SetUp() override {
    FillPayloadMarker();
    ResetFrontEndRecord();
  }

  // Encodes data with each parse and checks everything a stream must be; the refined
  // parses keep the best of what they tried, so they are never larger than their start.
  void CheckParses(const Input &input, const std::vector<ParseMode> &modes) {
    SCOPED_TRACE(input.name);
    const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
    size_t sizes[PARSE_BEST + 1] = {};
    for (ParseMode mode : modes) {
      SCOPED_TRACE(ModeName(mode));
      EncodedStream encoded;
      unsigned attempts = 0;
      std::string error;
      ASSERT_TRUE(CompressClean(input.bytes.data(), input.bytes.size(), marker, mode, &encoded,
                                &attempts, &error))
          << error;
      CheckTokens(input.bytes, encoded);
      CheckStream(input.bytes, encoded.bytes);
      sizes[mode] = encoded.bytes.size();
    }
    auto expectNotLarger = [&](ParseMode a, ParseMode b) {
      if (sizes[a] && sizes[b]) {
        EXPECT_LE(sizes[a], sizes[b]) << ModeName(a) << " against " << ModeName(b);
      }
    };
    expectNotLarger(PARSE_CHUNKED, PARSE_GREEDY);
    expectNotLarger(PARSE_OPTIMAL, PARSE_CHUNKED);
    expectNotLarger(PARSE_OPTIMAL, PARSE_GREEDY);
    expectNotLarger(PARSE_BEST, PARSE_OPTIMAL);
  }

  static const char *ModeName(ParseMode mode) {
    static const char *const names[] = {"greedy parse", "chunked parse", "refined parse",
                                        "best parse"};
    return names[mode];
  }

  void CheckTokens(const std::vector<uint8_t> &data, const EncodedStream &encoded) {
    size_t covered = 0;
    for (const Token &t : encoded.tokens) {
      ASSERT_EQ(t.position, covered);
      ASSERT_TRUE(t.length == 1 || (t.length >= MIN_MATCH && t.length <= MAX_MATCH)) << t.length;
      if (t.length > 1) {
        ASSERT_LE(t.distance, MAX_DISTANCE) << "at " << t.position;
        // The bytes copied are the bytes of the input (spaces before its start).
        for (unsigned k = 0; k < t.length; ++k) {
          long from = static_cast<long>(t.position + k) - t.distance - 1;
          uint8_t source = from < 0 ? ' ' : data[from];
          ASSERT_EQ(source, data[t.position + k]) << "match at " << t.position;
        }
      }
      covered += t.length;
    }
    EXPECT_EQ(covered, data.size()) << "the parse must end exactly at the end";
    // Zero padding after the last code bit.
    const unsigned spare = static_cast<unsigned>(8 * encoded.bytes.size() - encoded.bitCount);
    ASSERT_LT(spare, 8u);
    EXPECT_EQ(encoded.bytes.back() & ((1u << spare) - 1), 0u);
  }

  void CheckStream(const std::vector<uint8_t> &data, const std::vector<uint8_t> &stream) {
    // No copy of the marker, no ending with its first letters.
    const std::string text(stream.begin(), stream.end());
    const std::string marker(PayloadMarker, MARKER_LENGTH);
    EXPECT_EQ(text.find(marker), std::string::npos);
    for (size_t held = 1; held < MARKER_LENGTH; ++held)
      EXPECT_NE(text.substr(text.size() - held), marker.substr(0, held));
    uint32_t stated = stream[0] | stream[1] << 8 | stream[2] << 16 | uint32_t(stream[3]) << 24;
    EXPECT_EQ(stated, data.size());

    std::vector<uint8_t> decoded;
    const int wipes = frontEndRecord.wipes;
    ASSERT_TRUE(ExpandToMemory(stream.data(), stream.size(), &decoded));
    EXPECT_TRUE(decoded == data) << "the installer's decoder disagrees";
    EXPECT_EQ(frontEndRecord.wipes, wipes + 1) << "the decoder ran to its end";

    std::vector<uint8_t> archive =
        Lh1Archive("member.bin", stream.data() + 4, stream.size() - 4, data);
    std::vector<uint8_t> extracted;
    std::string error;
    ASSERT_TRUE(ExtractWithLhasa(archive, "member.bin", &extracted, &error)) << error;
    EXPECT_TRUE(extracted == data) << "lhasa disagrees";
  }
};

TEST_F(EncoderRoundTrip, TableOfInputs) {
  for (const Input &input : Inputs())
    CheckParses(input, {PARSE_GREEDY, PARSE_CHUNKED, PARSE_OPTIMAL, PARSE_BEST});
}

TEST_F(EncoderRoundTrip, LargeExecutable) {
  const std::string path = LargeExecutable();
  ASSERT_FALSE(path.empty()) << "no large PE executable: run scripts/install-deps.sh";
  std::string bytes = ReadFileBytes(path);
  ASSERT_GT(bytes.size(), 1000000u);
  CheckParses({path, Bytes(bytes)}, {PARSE_GREEDY, PARSE_OPTIMAL});
}

TEST_F(EncoderRoundTrip, OptimalParseBeatsGreedyOnText) {
  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  std::vector<uint8_t> text = IniText();
  EncodedStream optimal, greedy;
  unsigned attempts;
  std::string error;
  ASSERT_TRUE(
      CompressClean(text.data(), text.size(), marker, PARSE_OPTIMAL, &optimal, &attempts, &error));
  ASSERT_TRUE(
      CompressClean(text.data(), text.size(), marker, PARSE_GREEDY, &greedy, &attempts, &error));
  EXPECT_LT(optimal.bytes.size() * 100, greedy.bytes.size() * 99)
      << optimal.bytes.size() << " against " << greedy.bytes.size();
}

// Prices of the model as it will stand pay where the model learns late: the refined parse
// is clearly smaller than the chunked one.
TEST_F(EncoderRoundTrip, RefinedParseBeatsChunkedOnText) {
  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  std::vector<uint8_t> text = GrowingSettings(60000);
  EncodedStream refined, chunked;
  unsigned attempts;
  std::string error;
  ASSERT_TRUE(
      CompressClean(text.data(), text.size(), marker, PARSE_OPTIMAL, &refined, &attempts, &error));
  ASSERT_TRUE(
      CompressClean(text.data(), text.size(), marker, PARSE_CHUNKED, &chunked, &attempts, &error));
  EXPECT_LT(refined.bytes.size() * 100, chunked.bytes.size() * 98)
      << refined.bytes.size() << " against " << chunked.bytes.size();
}

// The encoder keeps state in the shared model between streams; none of it may leak.
TEST_F(EncoderRoundTrip, SameInputGivesTheSameStream) {
  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  const std::vector<uint8_t> text = IniText();
  const std::vector<uint8_t> other = Repeated("xyzzy ", 3000);
  for (ParseMode mode : {PARSE_OPTIMAL, PARSE_BEST}) {
    EncodedStream first, between, second;
    unsigned attempts;
    std::string error;
    ASSERT_TRUE(CompressClean(text.data(), text.size(), marker, mode, &first, &attempts, &error));
    ASSERT_TRUE(
        CompressClean(other.data(), other.size(), marker, mode, &between, &attempts, &error));
    ASSERT_TRUE(CompressClean(text.data(), text.size(), marker, mode, &second, &attempts, &error));
    EXPECT_TRUE(first.bytes == second.bytes) << ModeName(mode);
  }
}

} // namespace
