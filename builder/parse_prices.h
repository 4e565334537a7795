// Prices for the next pass of the parse, taken from coding a finished parse with the
// decoder's model: what each symbol will cost as the model will stand, not as it stands.
#pragma once

#include "builder/stream_encoder.h"
#include "payload/huffman_model.h"

#include <cstddef>
#include <cstdint>
#include <vector>

enum { PRICE_SCALE = 16 }; // prices are in sixteenths of a bit

// The cost of every literal and length symbol for the input from `start` on, up to the
// next segment's start.
struct PriceSegment {
  size_t start;
  uint32_t cost[SYMBOL_COUNT];
};

// Codes tokens (a parse of data) with the adaptive model and returns the code bits, the
// size field not counted. With prices, also gives one segment per stretch of the parse
// between two rebuilds of the tree: within a stretch the counts only grow, so the codes of
// the stretch's symbols together come to what the counts it ends with give, in whatever
// order the symbols stand; a symbol's price is what one more of it adds. Resets and leaves
// behind the model.
uint64_t MeasureParse(const uint8_t *data, const std::vector<Token> &tokens,
                      std::vector<PriceSegment> *prices);

// What the same parse would take if every symbol cost exactly log2(root / count) of the
// model of its moment instead of its leaf's depth; the difference is what the Huffman
// code's rounding costs rather than the parse's choices. A figure for the bench.
double ExactCodeBits(const uint8_t *data, const std::vector<Token> &tokens);

// The fixed code's bits for a distance: the upper 6 bits' prefix code and 6 plain bits.
unsigned DistanceBits(unsigned distance);
