#include "tests/support/hand_stream.h"

#include "payload/huffman_model.h"

namespace {

struct Bits {
  std::vector<uint8_t> bytes;
  unsigned used = 8; // bits used in the last byte
};

void Put(Bits *bits, unsigned value, unsigned width) {
  for (unsigned k = width; k-- > 0;) {
    if (bits->used == 8) {
      bits->bytes.push_back(0);
      bits->used = 0;
    }
    if ((value >> k) & 1)
      bits->bytes.back() |= static_cast<uint8_t>(0x80 >> bits->used);
    ++bits->used;
  }
}

} // namespace

std::vector<uint8_t> HandStream(uint32_t size, const std::vector<HandSymbol> &symbols) {
  Bits bits;
  InitModel();
  for (const HandSymbol &s : symbols) {
    // The code is the path from the root to the symbol's leaf; collect it leaf first.
    std::vector<unsigned> path;
    for (unsigned node = nodeParent[s.symbol + NODE_COUNT]; node != ROOT_NODE;) {
      unsigned parent = nodeParent[node];
      path.push_back(node == nodeChild[parent] ? 0 : 1);
      node = parent;
    }
    for (auto bit = path.rbegin(); bit != path.rend(); ++bit)
      Put(&bits, *bit, 1);
    BumpFrequency(s.symbol);
    if (s.symbol >= 256) {
      unsigned upper = s.distance >> 6;
      Put(&bits, distanceTables.codeOf[upper], distanceTables.lengthOf[upper]);
      Put(&bits, s.distance & 0x3F, 6);
    }
  }
  std::vector<uint8_t> stream;
  stream.reserve(4 + bits.bytes.size());
  for (int shift = 0; shift < 32; shift += 8)
    stream.push_back(static_cast<uint8_t>(size >> shift));
  for (uint8_t byte : bits.bytes)
    stream.push_back(byte);
  return stream;
}
