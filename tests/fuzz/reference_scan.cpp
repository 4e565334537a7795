#include "tests/fuzz/reference_scan.h"

#include <zlib.h>

enum { MARKER_BYTES = 4, PUMP_STREAM_LIMIT = 11 };

// Walks the image: at each place, a whole marker is a marker; otherwise the longest run of
// the marker's first bytes standing there, plus the byte that breaks it, is content.
static void Transcribe(const uint8_t *image, size_t size, const char *marker, ReferenceScan *out) {
  size_t i = 0;
  while (i < size) {
    size_t k = 0;
    while (k < MARKER_BYTES && i + k < size && image[i + k] == static_cast<uint8_t>(marker[k]))
      ++k;
    if (k == MARKER_BYTES) {
      out->transcript.push_back(TRANSCRIPT_MARKER);
      i += MARKER_BYTES;
    } else if (i + k == size) {
      out->heldAtEnd = k;
      return;
    } else {
      for (size_t j = 0; j <= k; ++j)
        out->transcript.push_back(image[i + j]);
      i += k + 1;
    }
  }
}

// The integrity check: streams start after a marker, and two markers in a row end it.
static void CutChecksumStreams(ReferenceScan *out) {
  bool afterMarker = false, seenMarker = false;
  for (int item : out->transcript) {
    if (item == TRANSCRIPT_MARKER) {
      if (afterMarker)
        break;
      afterMarker = seenMarker = true;
      continue;
    }
    if (!seenMarker)
      continue;
    if (afterMarker)
      out->checksumStreams.emplace_back();
    out->checksumStreams.back().push_back(static_cast<uint8_t>(item));
    afterMarker = false;
  }
  uLong crc = crc32(0L, Z_NULL, 0);
  for (const Bytes &stream : out->checksumStreams)
    crc = crc32(crc, stream.data(), static_cast<uInt>(stream.size()));
  out->checksum = static_cast<uint32_t>(crc);
}

// The pump: every marker closes the stream in hand and opens the next one, until eleven
// are closed; an image that ends inside a stream closes it with the held marker bytes.
static void CutPumpStreams(const char *marker, ReferenceScan *out) {
  bool open = false;
  for (int item : out->transcript) {
    if (item == TRANSCRIPT_MARKER) {
      if (open && out->pumpStreams.size() == PUMP_STREAM_LIMIT)
        return;
      out->pumpStreams.emplace_back();
      open = true;
    } else if (open) {
      out->pumpStreams.back().push_back(static_cast<uint8_t>(item));
    }
  }
  if (open)
    for (size_t k = 0; k < out->heldAtEnd; ++k)
      out->pumpStreams.back().push_back(static_cast<uint8_t>(marker[k]));
}

void ScanReference(const uint8_t *image, size_t size, const char *marker, ReferenceScan *out) {
  *out = ReferenceScan();
  Transcribe(image, size, marker, out);
  CutChecksumStreams(out);
  CutPumpStreams(marker, out);
}
