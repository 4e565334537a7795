#include "plain_decoder.h"

#include "payload/huffman_model.h"

#include <cstdint>

namespace {

struct BitReader {
  FILE *input;
  unsigned byte;
  int left; // bits of byte not yet delivered
};

unsigned GetBit(BitReader *reader) {
  if (reader->left == 0) {
    int c = std::fgetc(reader->input);
    reader->byte = c == EOF ? 0 : static_cast<unsigned>(c);
    reader->left = 8;
  }
  --reader->left;
  return (reader->byte >> reader->left) & 1;
}

unsigned GetBits(BitReader *reader, unsigned count) {
  unsigned value = 0;
  while (count--)
    value = (value << 1) | GetBit(reader);
  return value;
}

} // namespace

bool PlainExpand(FILE *input, FILE *output) {
  uint32_t size = 0;
  for (int k = 0; k < 4; ++k) {
    int c = std::fgetc(input);
    if (c == EOF)
      return false;
    size |= static_cast<uint32_t>(c) << (8 * k);
  }
  if (size == 0)
    return false;
  InitModel();
  static uint8_t ring[RING_SIZE];
  for (unsigned i = 0; i < RING_FILL; ++i)
    ring[i] = ' ';
  unsigned r = RING_FILL;
  BitReader reader{input, 0, 0};
  for (uint32_t count = 0; count < size;) {
    unsigned node = nodeChild[ROOT_NODE];
    while (node < NODE_COUNT)
      node = nodeChild[node + GetBit(&reader)];
    unsigned symbol = node - NODE_COUNT;
    BumpFrequency(symbol);
    if (symbol < 256) {
      if (std::fputc(static_cast<int>(symbol), output) == EOF)
        return false;
      ring[r] = static_cast<uint8_t>(symbol);
      r = (r + 1) % RING_SIZE;
      ++count;
      continue;
    }
    // The distance: the prefix code of its upper six bits, found by trying each length.
    unsigned code = 0, length = 0, upper = 0;
    for (bool found = false; !found;) {
      code = (code << 1) | GetBit(&reader);
      ++length;
      for (upper = 0; upper < 64 && !found; ++upper)
        found = distanceTables.lengthOf[upper] == length && distanceTables.codeOf[upper] == code;
    }
    unsigned distance = ((upper - 1) << 6) | GetBits(&reader, 6);
    unsigned start = (r + RING_SIZE - distance - 1) % RING_SIZE;
    for (unsigned k = 0; k < symbol - 253u; ++k) {
      uint8_t byte = ring[(start + k) % RING_SIZE];
      if (std::fputc(byte, output) == EOF)
        return false;
      ring[r] = byte;
      r = (r + 1) % RING_SIZE;
      ++count;
    }
  }
  return true;
}
