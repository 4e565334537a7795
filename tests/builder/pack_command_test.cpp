// vorq-pack as a command: its help, its exit codes, and check on good and broken images.
#include "engine/target_files.h"
#include "tests/builder/sample_tree.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/wait.h>

namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class PackCommandTest : public ::testing::Test {
protected:
  Outcome Run(const std::string &arguments) {
    const std::string command = std::string(VORQ_PACK_EXE) + " " + arguments + " > " +
                                (scratch / "stdout") + " 2> " + (scratch / "stderr");
    int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFileBytes(scratch / "stdout");
    outcome.err = ReadFileBytes(scratch / "stderr");
    return outcome;
  }

  // A failure: status 1 or 2, and one line on standard error that holds `phrase`.
  void ExpectFailure(const Outcome &outcome, int status, const std::string &phrase,
                     const std::string &what) {
    EXPECT_EQ(outcome.status, status) << what << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1)
        << what << ": " << outcome.err;
    EXPECT_NE(outcome.err.find(phrase), std::string::npos) << what << ": " << outcome.err;
  }

  // Builds a payload from the sample tree into scratch/payload.bin.
  std::string BuildPayload() {
    MakeDirectory(scratch / "in");
    files = WriteSampleTree(scratch / "in");
    Outcome built = Run("build " + (scratch / "in") + " -o " + (scratch / "payload.bin") +
                        " --header " + (scratch / "checksum.h"));
    EXPECT_EQ(built.status, 0) << built.err;
    return ReadFileBytes(scratch / "payload.bin");
  }

  std::string Junk(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &c : bytes) {
      c = static_cast<char>(random());
      if (c == marker[0])
        c = 'x';
    }
    return bytes;
  }

  ScratchDir scratch;
  std::string marker = MarkerText();
  std::vector<std::string> files;
};

TEST_F(PackCommandTest, HelpForTheToolAndEachCommand) {
  for (const char *arguments :
       {"--help", "compress --help", "expand --help", "build --help", "check --help"}) {
    Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 0) << arguments;
    EXPECT_EQ(outcome.out.find("usage: vorq-pack"), 0u) << arguments;
    EXPECT_EQ(outcome.err, "") << arguments;
  }
  EXPECT_NE(Run("--help").out.find("check IMAGE [--payload PAYLOAD]"), std::string::npos);
}

TEST_F(PackCommandTest, WrongUsageExitsWithTwo) {
  for (const char *arguments :
       {"", "frobnicate", "compress only-one", "expand a b c", "check", "check image --expect 0xZZ",
        "build dir", "build -o x", "check image --unknown"}) {
    ExpectFailure(Run(arguments), 2, "vorq-pack: ", arguments);
  }
}

TEST_F(PackCommandTest, CompressAndExpandRoundTrip) {
  const std::string original = Junk(3000, 1) + std::string(5000, 'a') + Junk(100, 2);
  WriteFileBytes(scratch / "in.bin", original);
  size_t stored[3];
  int k = 0;
  for (const char *option : {"--greedy ", "", "--best "}) {
    SCOPED_TRACE(option);
    ASSERT_EQ(
        Run(std::string("compress ") + option + (scratch / "in.bin") + " " + (scratch / "stream"))
            .status,
        0);
    const std::string stream = ReadFileBytes(scratch / "stream");
    const size_t n = original.size();
    EXPECT_EQ(stream.substr(0, 4),
              std::string({char(n), char(n >> 8), char(n >> 16), char(n >> 24)}))
        << "the size field, little-endian";
    stored[k++] = stream.size();
    ASSERT_EQ(Run("expand " + (scratch / "stream") + " " + (scratch / "out.bin")).status, 0);
    EXPECT_EQ(ReadFileBytes(scratch / "out.bin"), original);
  }
  EXPECT_LT(stored[0], original.size());
  EXPECT_LE(stored[1], stored[0]) << "the default parse against --greedy";
  EXPECT_LE(stored[2], stored[1]) << "--best against the default parse";
}

TEST_F(PackCommandTest, CompressAndExpandFailuresNameTheFile) {
  WriteFileBytes(scratch / "empty", "");
  WriteFileBytes(scratch / "zero-size", std::string("\0\0\0\0\x12", 5));
  ExpectFailure(Run("compress " + (scratch / "nothing") + " " + (scratch / "o")), 1,
                scratch / "nothing", "missing input");
  ExpectFailure(Run("compress " + (scratch / "empty") + " " + (scratch / "o")), 1,
                scratch / "empty", "empty input");
  ExpectFailure(Run("expand " + (scratch / "zero-size") + " " + (scratch / "o")), 1,
                scratch / "zero-size", "size field 0");
  ExpectFailure(Run("expand " + (scratch / "nothing") + " " + (scratch / "o")), 1,
                scratch / "nothing", "missing stream");
}

TEST_F(PackCommandTest, BuildPrintsTheTableAndWritesTheHeader) {
  BuildPayload();
  Outcome again = Run("build " + (scratch / "in") + " -o " + (scratch / "payload2.bin"));
  ASSERT_EQ(again.status, 0) << again.err;
  for (int k = 0; k < TARGET_COUNT; ++k)
    EXPECT_NE(again.out.find(TargetFileTable[k]), std::string::npos) << TargetFileTable[k];
  EXPECT_NE(again.out.find("checksum 0x"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(scratch / "payload2.bin"), ReadFileBytes(scratch / "payload.bin"))
      << "the same files give the same payload";
  const std::string header = ReadFileBytes(scratch / "checksum.h");
  EXPECT_NE(header.find("#define VORQ_PAYLOAD_CRC 0x"), std::string::npos) << header;

  std::remove((scratch / "in/servers.ini").c_str());
  ExpectFailure(Run("build " + (scratch / "in") + " -o " + (scratch / "payload3.bin")), 1,
                "servers.ini", "missing file");
}

TEST_F(PackCommandTest, CheckAcceptsAnImageAndExtractsTheFiles) {
  const std::string payload = BuildPayload();
  WriteFileBytes(scratch / "image.exe", "MZ" + Junk(20000, 3) + payload + Junk(3000, 4));
  const std::string header = ReadFileBytes(scratch / "checksum.h");
  const std::string crc = header.substr(header.find("0x"), 10);
  Outcome outcome =
      Run("check " + (scratch / "image.exe") + " --payload " + (scratch / "payload.bin") +
          " --expect " + crc + " --extract " + (scratch / "out"));
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("first marker at byte 20002"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("checksum " + crc), std::string::npos) << outcome.out;
  for (int k = 0; k < TARGET_COUNT; ++k)
    EXPECT_EQ(ReadFileBytes(scratch / "out" + "/" + TargetFileTable[k]), files[k])
        << TargetFileTable[k];
}

TEST_F(PackCommandTest, CheckNamesTheBrokenConstraint) {
  const std::string payload = BuildPayload();
  const std::string prefix = "MZ" + Junk(5000, 5);
  // Where each stream begins: after the first, second, ... marker of the payload.
  std::vector<size_t> at;
  for (size_t p = payload.find(marker); p != std::string::npos; p = payload.find(marker, p + 1))
    at.push_back(p);
  ASSERT_EQ(at.size(), 13u);
  std::string zeroSize = payload;
  zeroSize.replace(at[3] + 4, 4, std::string(4, '\0'));

  struct Case {
    std::string what;
    std::string image;
    std::string options;
    std::string phrase;
  };
  const std::string withPayload = " --payload " + (scratch / "payload.bin");
  const std::vector<Case> cases = {
      {"a marker before the payload", prefix + marker + Junk(10, 6) + payload, withPayload,
       "before the payload"},
      {"a partial marker just before the payload", prefix + marker.substr(0, 2) + payload,
       withPayload, "partial marker"},
      {"no marker", prefix + Junk(1000, 7), "", "no marker"},
      {"the wrong checksum", prefix + payload, " --expect 0x12345678", "expected 0x12345678"},
      {"ten streams", prefix + payload.substr(0, at[10] + 4) + marker, "", "after 10 streams"},
      {"the image ends inside a stream", prefix + payload.substr(0, at[6] + 100), "",
       "ends inside stream 6"},
      {"a stream of size 0", prefix + zeroSize, "", "stream 3 does not decode"},
      {"a twelfth stream", prefix + payload.substr(0, at[11] + 4) + "extra" + marker + marker, "",
       "stream 10 is not followed by the double marker"},
  };
  for (const Case &c : cases) {
    WriteFileBytes(scratch / "broken.exe", c.image);
    ExpectFailure(Run("check " + (scratch / "broken.exe") + c.options), 1, c.phrase, c.what);
  }
}

// A PE32 image as the linker and the signing tool lay it out: the headers (16 data
// directories, no sections), the body, and the certificate table that the security
// directory names, right after the body.
std::string PeImage(const std::string &body, const std::string &table) {
  auto put = [](std::string &bytes, size_t at, uint32_t value, int width) {
    for (int k = 0; k < width; ++k)
      bytes[at + k] = static_cast<char>(value >> 8 * k);
  };
  const size_t pe = 0x40, optional = pe + 24, optionalSize = 224;
  std::string bytes(optional + optionalSize, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  put(bytes, 0x3C, pe, 4);
  bytes.replace(pe, 4, std::string("PE\0\0", 4));
  put(bytes, pe + 4, 0x14C, 2); // i386
  put(bytes, pe + 20, optionalSize, 2);
  put(bytes, optional, 0x10B, 2); // PE32
  put(bytes, optional + 92, 16, 4);
  size_t offset = bytes.size() + body.size();
  if (!table.empty()) {
    put(bytes, optional + 96 + 4 * 8, static_cast<uint32_t>(offset), 4);
    put(bytes, optional + 96 + 4 * 8 + 4, static_cast<uint32_t>(table.size()), 4);
  }
  return bytes + body + table;
}

// One certificate of a type (2: PKCS#7 signed data, 1: X.509) with its 8-byte header.
std::string Certificate(uint16_t type, const std::string &content) {
  std::string bytes(8, '\0');
  uint32_t length = static_cast<uint32_t>(content.size() + 8);
  for (int k = 0; k < 4; ++k)
    bytes[k] = static_cast<char>(length >> 8 * k);
  bytes[4] = 0x00;
  bytes[5] = 0x02;
  bytes[6] = static_cast<char>(type);
  return bytes + content;
}

TEST_F(PackCommandTest, CheckReportsTheSignatureAndStillChecksThePayload) {
  const std::string payload = BuildPayload();
  const std::string body = Junk(3000, 8) + payload + Junk(100, 9);
  const std::string pkcs7 = Certificate(2, Junk(1200, 10));
  const size_t headers = PeImage("", "").size();
  struct Case {
    std::string what;
    std::string image;
    std::string options;
    std::string report; // the signature line, or the phrase of the failure
    bool passes;
  };
  const std::string table =
      std::to_string(pkcs7.size()) + " bytes at byte " + std::to_string(headers + body.size());
  const std::vector<Case> cases = {
      {"no PE image", "MZ" + body, "", "signature: none", true},
      {"an unsigned PE image", PeImage(body, ""), "", "signature: none", true},
      {"an unsigned PE image, a signature required", PeImage(body, ""), " --signed",
       "no Authenticode signature", false},
      {"a signed PE image", PeImage(body, pkcs7), " --signed",
       "signature: Authenticode, certificate table of " + table, true},
      {"a certificate table of another type", PeImage(body, Certificate(1, "x509")), "",
       "type 0x0001, not Authenticode", true},
      {"the same, a signature required", PeImage(body, Certificate(1, "x509")), " --signed",
       "no Authenticode signature", false},
      {"a certificate table beyond the end",
       PeImage(body, pkcs7).substr(0, headers + body.size() + 50), "", "beyond the end of the file",
       false},
      {"a certificate longer than its table", PeImage(body, pkcs7.substr(0, 600)), "",
       "does not fit its table", false},
      {"a payload after the certificate table", PeImage(Junk(3000, 11), pkcs7) + payload, "",
       "beyond the start of the certificate table", false},
  };
  for (const Case &c : cases) {
    WriteFileBytes(scratch / "image.exe", c.image);
    Outcome outcome =
        Run("check " + (scratch / "image.exe") + " --payload " + (scratch / "payload.bin") +
            " --extract " + (scratch / "out") + c.options);
    if (c.passes) {
      EXPECT_EQ(outcome.status, 0) << c.what << ": " << outcome.err;
      EXPECT_NE(outcome.out.find(c.report + "\n"), std::string::npos)
          << c.what << ": " << outcome.out;
      for (int k = 0; k < TARGET_COUNT; ++k)
        EXPECT_EQ(ReadFileBytes(scratch / "out" + "/" + TargetFileTable[k]), files[k])
            << c.what << ": " << TargetFileTable[k];
    } else {
      ExpectFailure(outcome, 1, c.report, c.what);
    }
    RemoveTree(scratch / "out");
  }
}

} // namespace
