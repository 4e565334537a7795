#include "builder/parse_prices.h"

namespace {

// log2(n) for n >= 1 in 256ths of a bit, in integers alone, so that the parse is the same
// whatever the C library's rounding.
uint32_t Log2Fixed(uint32_t n) {
  unsigned whole = 0;
  while ((n >> whole) > 1)
    ++whole;
  uint64_t x = static_cast<uint64_t>(n) << (31 - whole); // n / 2^whole in [1, 2), 31 bits after
  uint32_t fraction = 0;
  for (int bit = 7; bit >= 0; --bit) {
    x = (x * x) >> 31;
    if (x >= (uint64_t{1} << 32)) {
      x >>= 1;
      fraction |= 1u << bit;
    }
  }
  return (whole << 8) | fraction;
}

unsigned SymbolOf(const uint8_t *data, const Token &token) {
  return token.length == 1 ? data[token.position] : token.length + 253u;
}

unsigned LeafDepth(unsigned symbol) {
  unsigned depth = 0;
  for (unsigned node = nodeParent[symbol + NODE_COUNT]; node != ROOT_NODE; node = nodeParent[node])
    ++depth;
  return depth;
}

// Fills the prices of the stretch's segment from the counts it ends with.
void ClosePrices(PriceSegment *segment) {
  const uint32_t root = Log2Fixed(nodeFreq[ROOT_NODE]);
  for (unsigned s = 0; s < SYMBOL_COUNT; ++s) {
    const uint32_t count = Log2Fixed(nodeFreq[nodeParent[s + NODE_COUNT]]);
    segment->cost[s] = (root - count + 8) >> 4; // 256ths to sixteenths, rounded
  }
}

} // namespace

unsigned DistanceBits(unsigned distance) {
  return distanceTables.lengthOf[distance >> 6] + 6u;
}

uint64_t MeasureParse(const uint8_t *data, const std::vector<Token> &tokens,
                      std::vector<PriceSegment> *prices) {
  InitModel();
  if (prices) {
    prices->clear();
    prices->push_back(PriceSegment{0, {}});
  }
  uint64_t bits = 0;
  for (const Token &token : tokens) {
    const unsigned symbol = SymbolOf(data, token);
    if (prices && nodeFreq[ROOT_NODE] == REBUILD_COUNT) {
      // The rebuild that BumpFrequency is about to make ends the stretch.
      ClosePrices(&prices->back());
      prices->push_back(PriceSegment{token.position, {}});
    }
    bits += LeafDepth(symbol);
    if (token.length > 1)
      bits += DistanceBits(token.distance);
    BumpFrequency(symbol);
  }
  if (prices)
    ClosePrices(&prices->back());
  return bits;
}
