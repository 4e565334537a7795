#include "builder/parse_prices.h"

#include <cmath>

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

// The leaves' counts in symbol order, then the root's.
struct Counts {
  uint16_t leaf[SYMBOL_COUNT];
  uint16_t root;
};

Counts ModelCounts() {
  Counts counts;
  for (unsigned s = 0; s < SYMBOL_COUNT; ++s)
    counts.leaf[s] = nodeFreq[nodeParent[s + NODE_COUNT]];
  counts.root = nodeFreq[ROOT_NODE];
  return counts;
}

// One more symbol s in a stretch costs log2(root / count(s)) of the counts the stretch ends
// with. Half of it is carried into the next stretch by the rebuild, where it saves what s
// gains there over the other symbols: half of log2(growth of s) - log2(growth of the root).
void FillPrices(const Counts &end, const Counts *nextStart, const Counts *nextEnd,
                PriceSegment *segment) {
  const int32_t root = static_cast<int32_t>(Log2Fixed(end.root));
  for (unsigned s = 0; s < SYMBOL_COUNT; ++s) {
    int32_t price = root - static_cast<int32_t>(Log2Fixed(end.leaf[s]));
    if (nextStart) {
      const int64_t growth = int64_t{Log2Fixed(nextEnd->leaf[s])} - Log2Fixed(nextStart->leaf[s]);
      const int64_t rootGrowth = int64_t{Log2Fixed(nextEnd->root)} - Log2Fixed(nextStart->root);
      price += static_cast<int32_t>((rootGrowth - growth) / 2);
    }
    segment->cost[s] = price <= 0 ? 0 : (static_cast<uint32_t>(price) + 8) >> 4; // 256ths to 16ths
  }
}

} // namespace

unsigned DistanceBits(unsigned distance) {
  return distanceTables.lengthOf[distance >> 6] + 6u;
}

uint64_t MeasureParse(const uint8_t *data, const std::vector<Token> &tokens,
                      std::vector<PriceSegment> *prices) {
  InitModel();
  std::vector<Counts> starts, ends; // of each stretch
  if (prices) {
    prices->clear();
    prices->push_back(PriceSegment{0, {}});
    starts.push_back(ModelCounts());
  }
  uint64_t bits = 0;
  for (const Token &token : tokens) {
    const unsigned symbol = SymbolOf(data, token);
    if (prices && nodeFreq[ROOT_NODE] == REBUILD_COUNT) {
      // The rebuild BumpFrequency would make now ends the stretch.
      ends.push_back(ModelCounts());
      RebuildTree();
      starts.push_back(ModelCounts());
      prices->push_back(PriceSegment{token.position, {}});
    }
    bits += LeafDepth(symbol);
    if (token.length > 1)
      bits += DistanceBits(token.distance);
    BumpFrequency(symbol);
  }
  if (prices) {
    ends.push_back(ModelCounts());
    for (size_t k = 0; k < prices->size(); ++k) {
      const bool last = k + 1 == prices->size();
      FillPrices(ends[k], last ? nullptr : &starts[k + 1], last ? nullptr : &ends[k + 1],
                 &(*prices)[k]);
    }
  }
  return bits;
}

double ExactCodeBits(const uint8_t *data, const std::vector<Token> &tokens) {
  InitModel();
  double bits = 0;
  for (const Token &token : tokens) {
    const unsigned symbol = SymbolOf(data, token);
    if (nodeFreq[ROOT_NODE] == REBUILD_COUNT)
      RebuildTree();
    bits += std::log2(double(nodeFreq[ROOT_NODE]) / nodeFreq[nodeParent[symbol + NODE_COUNT]]);
    if (token.length > 1)
      bits += DistanceBits(token.distance);
    BumpFrequency(symbol);
  }
  return bits;
}
