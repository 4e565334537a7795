#include "payload/expand.h"

#include "payload/byte_io.h"
#include "payload/front_end.h"
#include "payload/huffman_model.h"

#include <cstdint>
#include <cstring>

// Decoder state; one stream is decoded at a time and every call resets what it relies on.
static uint8_t ringBuffer[RING_SIZE];
static uint16_t bitBuf;
static uint16_t bitLen;

static void RefillBits(FILE *input) {
  while (bitLen <= 8) {
    int c = ReadByte(input);
    if (c == EOF) // the end of the input, or a read error, reads as zero bits
      c = 0;
    bitBuf = static_cast<uint16_t>(bitBuf | (c << (8 - bitLen)));
    bitLen = static_cast<uint16_t>(bitLen + 8);
  }
}

static unsigned NextBit(FILE *input) {
  RefillBits(input);
  unsigned bit = bitBuf >> 15;
  bitBuf = static_cast<uint16_t>(bitBuf << 1);
  --bitLen;
  return bit;
}

static unsigned NextByte(FILE *input) {
  RefillBits(input);
  unsigned byte = bitBuf >> 8;
  bitBuf = static_cast<uint16_t>(bitBuf << 8);
  bitLen = static_cast<uint16_t>(bitLen - 8);
  return byte;
}

static unsigned DecodeSymbol(FILE *input) {
  unsigned node = nodeChild[ROOT_NODE];
  while (node < NODE_COUNT)
    node = nodeChild[node + NextBit(input)];
  unsigned symbol = node - NODE_COUNT;
  BumpFrequency(symbol);
  return symbol;
}

static unsigned DecodeDistance(FILE *input) {
  unsigned b = NextByte(input);
  unsigned upper = distUpper[b];
  unsigned extra = distCodeLen[b] - 2u;
  while (extra--)
    b = ((b << 1) + NextBit(input)) & 0xFFFF;
  return (upper << 6) | (b & 0x3F);
}

bool ExpandStream(FILE *input, FILE *output) {
  uint32_t size = 0;
  for (int k = 0; k < 4; ++k) {
    int c = ReadByte(input);
    // An input that ends inside the size field holds no stream.
    if (c == EOF)
      return false;
    size |= static_cast<uint32_t>(c) << (8 * k);
  }
  if (size == 0)
    return false;

  InitModel();
  bitBuf = 0;
  bitLen = 0;
  std::memset(ringBuffer, ' ', RING_FILL);

  int width = FileProgressWidth();
  uint32_t step = size / static_cast<uint32_t>(width > 0 ? width : 1);
  if (step == 0)
    step = 1;

  unsigned r = RING_FILL;
  uint64_t count = 0; // a final match may run past a size close to 2^32

  while (count < size) {
    unsigned symbol = DecodeSymbol(input);
    if (symbol < 256) {
      if (WriteByte(static_cast<int>(symbol), output) == EOF)
        return false;
      ringBuffer[r] = static_cast<uint8_t>(symbol);
      r = (r + 1) & (RING_SIZE - 1);
      ++count;
    } else {
      unsigned start = (r - DecodeDistance(input) - 1) & (RING_SIZE - 1);
      unsigned length = symbol - 253;
      for (unsigned k = 0; k < length; ++k) {
        uint8_t byte = ringBuffer[(start + k) & (RING_SIZE - 1)];
        if (WriteByte(byte, output) == EOF)
          return false;
        ringBuffer[r] = byte;
        r = (r + 1) & (RING_SIZE - 1);
      }
      count += length;
    }
    if (count % step == 0)
      DrawFileProgress(nullptr, static_cast<uint32_t>(count), size);
  }
  WipeFileProgress();
  return true;
}
