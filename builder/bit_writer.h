// Bits packed most significant first, as the stream decoder reads them.
#pragma once

#include <cstdint>
#include <vector>

struct BitWriter {
  std::vector<uint8_t> bytes;
  uint32_t pending = 0; // bits not yet in bytes, right-aligned
  unsigned pendingCount = 0;
};

// Appends the low `width` bits of value (width at most 24), most significant first.
inline void PutBits(BitWriter *writer, uint32_t value, unsigned width) {
  writer->pending = (writer->pending << width) | (value & ((1u << width) - 1));
  writer->pendingCount += width;
  while (writer->pendingCount >= 8) {
    writer->pendingCount -= 8;
    writer->bytes.push_back(static_cast<uint8_t>(writer->pending >> writer->pendingCount));
  }
  writer->pending &= (1u << writer->pendingCount) - 1;
}

// Number of bits written so far, the pending ones included.
inline uint64_t BitCount(const BitWriter &writer) {
  return 8 * static_cast<uint64_t>(writer.bytes.size()) + writer.pendingCount;
}

// Fills the last byte up with zero bits.
inline void FlushBits(BitWriter *writer) {
  if (writer->pendingCount > 0)
    PutBits(writer, 0, 8 - writer->pendingCount);
}
