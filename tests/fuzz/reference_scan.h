// A plain reading of an image for the fuzz targets to check the core against. It looks
// ahead instead of keeping a match count, so it shares no logic with MatchMarkerByte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

typedef std::vector<uint8_t> Bytes;

enum { TRANSCRIPT_MARKER = 256 }; // a recognised marker in a transcript

struct ReferenceScan {
  // Every content byte (0..255) and every recognised marker, in image order.
  std::vector<int> transcript;
  size_t heldAtEnd = 0; // marker bytes matched when the image ended
  // The streams the integrity check hashes, and the CRC-32 of their concatenation as
  // zlib computes it (0 when nothing is hashed).
  std::vector<Bytes> checksumStreams;
  uint32_t checksum = 0;
  // The streams the extraction pump cuts out and installs, at most eleven.
  std::vector<Bytes> pumpStreams;
};

void ScanReference(const uint8_t *image, size_t size, const char *marker, ReferenceScan *out);
