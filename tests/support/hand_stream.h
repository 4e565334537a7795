// Stored streams written symbol by symbol, for decoder tests that need one exact case: a
// literal is a byte, a match a length (3 to 60) and any distance (0 to 4095).
#pragma once

#include <cstdint>
#include <vector>

struct HandSymbol {
  unsigned symbol;   // 0 to 255 a literal, 256 to 313 a match of length symbol - 253
  unsigned distance; // matches only
};

inline HandSymbol Literal(uint8_t byte) {
  return {byte, 0};
}

inline HandSymbol Match(unsigned length, unsigned distance) {
  return {length + 253, distance};
}

// The size field (size, whatever the symbols decode to), then the symbols coded with the
// adaptive model from its initial state, zero-padded.
std::vector<uint8_t> HandStream(uint32_t size, const std::vector<HandSymbol> &symbols);
