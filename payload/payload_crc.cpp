#include "payload/payload_crc.h"

#include "payload/front_end.h"
#include "payload/marker.h"

#include <cstdio>

namespace {

struct CrcTable {
  uint32_t entry[256];
  constexpr CrcTable() : entry() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entry[n] = c;
    }
  }
};

constexpr CrcTable crcTable;

enum ScanPhase { PHASE_SEEKING, PHASE_AFTER_MARKER, PHASE_IN_STREAM, PHASE_FINISHED };

} // namespace

// The one read buffer of the checksum pass, reused by every call.
static unsigned char crcBlock[CRC_BLOCK_SIZE];

uint32_t Crc32Byte(uint32_t reg, unsigned char byte) {
  return crcTable.entry[(reg ^ byte) & 0xFF] ^ (reg >> 8);
}

uint32_t Crc32(const unsigned char *data, size_t length) {
  uint32_t reg = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i)
    reg = Crc32Byte(reg, data[i]);
  return reg ^ 0xFFFFFFFFu;
}

uint32_t ComputePayloadCrc(const char *imagePath) {
  if (PayloadMarker[0] == 0) // not assembled: every zero byte would look like a marker
    return 0;
  FILE *file = std::fopen(imagePath, "rb");
  if (!file)
    return 0;
  FrontCursor previous = ShowWaitCursor();

  uint32_t reg = 0xFFFFFFFFu;
  ScanPhase phase = PHASE_SEEKING;
  int matched = 0;
  while (phase != PHASE_FINISHED) {
    size_t got = std::fread(crcBlock, 1, sizeof crcBlock, file);
    if (got == 0)
      break;
    for (size_t i = 0; i < got && phase != PHASE_FINISHED; ++i) {
      int released = 0;
      switch (MatchMarkerByte(&matched, crcBlock[i], &released)) {
      case MARKER_HELD:
        break;
      case MARKER_COMPLETE:
        phase = phase == PHASE_AFTER_MARKER ? PHASE_FINISHED : PHASE_AFTER_MARKER;
        break;
      case MARKER_BROKEN:
        if (phase == PHASE_SEEKING)
          break;
        for (int k = 0; k < released; ++k)
          reg = Crc32Byte(reg, static_cast<unsigned char>(PayloadMarker[k]));
        reg = Crc32Byte(reg, crcBlock[i]);
        phase = PHASE_IN_STREAM;
        break;
      }
    }
  }

  RestoreCursor(previous);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? 0 : reg ^ 0xFFFFFFFFu;
}
