// The marker matching rule and ComputePayloadCrc on arbitrary images, against the plain
// reference scan: the same markers and content, the same streams, the same checksum.
#include "payload/marker.h"
#include "payload/payload_crc.h"
#include "tests/fuzz/fuzz_front_end.h"
#include "tests/fuzz/reference_scan.h"
#include "tests/fuzz/scratch_dir.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string imagePath;

void Require(bool condition, const char *what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_payload_scan: %s\n", what);
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  FillPayloadMarker();
  imagePath = FuzzScratchDir() + "/image";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  ReferenceScan reference;
  ScanReference(data, size, PayloadMarker, &reference);

  // The rule, byte by byte, must tell the same story as the reference.
  std::vector<int> transcript;
  int matched = 0;
  for (size_t i = 0; i < size; ++i) {
    int released = 0;
    switch (MatchMarkerByte(&matched, data[i], &released)) {
    case MARKER_HELD:
      break;
    case MARKER_COMPLETE:
      transcript.push_back(TRANSCRIPT_MARKER);
      break;
    case MARKER_BROKEN:
      Require(released >= 0 && released < MARKER_LENGTH, "released count out of range");
      for (int k = 0; k < released; ++k)
        transcript.push_back(static_cast<unsigned char>(PayloadMarker[k]));
      transcript.push_back(data[i]);
      break;
    }
    Require(matched >= 0 && matched < MARKER_LENGTH, "match count out of range");
  }
  Require(transcript == reference.transcript, "the rule and the reference disagree");
  Require(static_cast<size_t>(matched) == reference.heldAtEnd, "different bytes held at the end");

  // The table-driven register against zlib over the same bytes.
  Bytes hashed;
  for (const Bytes &stream : reference.checksumStreams)
    hashed.insert(hashed.end(), stream.begin(), stream.end());
  Require(Crc32(hashed.data(), hashed.size()) == reference.checksum, "Crc32 differs from zlib");

  ResetFuzzFront();
  WriteWholeFile(imagePath, data, size);
  Require(ComputePayloadCrc(imagePath.c_str()) == reference.checksum,
          "ComputePayloadCrc differs from the reference");
  Require(fuzzFront.waitCursors == 1 && fuzzFront.restoredCursors == 1,
          "the wait cursor was not shown and restored once");
  return 0;
}
