// The adaptive Huffman model of the stream format, shared by the installer's decoder and
// the payload builder's encoder: both sides must update the tree identically.
#pragma once

#include <cstdint>

enum {
  RING_SIZE = 4096,
  MAX_MATCH = 60,
  MIN_MATCH = 3,
  SYMBOL_COUNT = 314,                // 256 literals and 58 match lengths
  NODE_COUNT = 2 * SYMBOL_COUNT - 1, // 627
  ROOT_NODE = NODE_COUNT - 1,        // 626
  RING_FILL = RING_SIZE - MAX_MATCH, // 4036: positions filled with spaces, first write position
  MAX_DISTANCE = RING_FILL - 1,      // 4035: the farthest distance a stream may use
  REBUILD_COUNT = 0x8000
};

extern uint16_t nodeFreq[NODE_COUNT + 1]; // counts; the last entry is a 0xFFFF sentinel
extern uint16_t nodeChild[NODE_COUNT];    // first child, or NODE_COUNT + symbol for a leaf
extern uint16_t nodeParent[NODE_COUNT + SYMBOL_COUNT]; // parents; then leaf of each symbol

// Fixed prefix code of the upper 6 bits of a distance. Rows: first 8-bit index, code
// length L, first upper value; each upper value of a row owns 2^(8-L) consecutive indexes.
struct DistanceRow {
  unsigned firstIndex, length, firstUpper;
};
inline constexpr DistanceRow distanceRows[6] = {{0x00, 3, 0},  {0x20, 4, 1},  {0x50, 5, 4},
                                                {0x90, 6, 12}, {0xC0, 7, 24}, {0xF0, 8, 48}};

struct DistanceTables {
  uint8_t upper[256];  // upper 6 bits, by the first 8 bits of a distance code
  uint8_t length[256]; // code length L, likewise
  uint8_t codeOf[64];  // code of an upper value, right-aligned in L bits
  uint8_t lengthOf[64];
  constexpr DistanceTables() : upper(), length(), codeOf(), lengthOf() {
    for (unsigned b = 0; b < 256; ++b) {
      unsigned r = 0;
      while (r + 1 < 6 && b >= distanceRows[r + 1].firstIndex)
        ++r;
      const DistanceRow &row = distanceRows[r];
      unsigned u = row.firstUpper + ((b - row.firstIndex) >> (8 - row.length));
      length[b] = static_cast<uint8_t>(row.length);
      upper[b] = static_cast<uint8_t>(u);
      codeOf[u] = static_cast<uint8_t>(b >> (8 - row.length));
      lengthOf[u] = static_cast<uint8_t>(row.length);
    }
  }
};

inline constexpr DistanceTables distanceTables{};
inline constexpr const uint8_t (&distUpper)[256] = distanceTables.upper;
inline constexpr const uint8_t (&distCodeLen)[256] = distanceTables.length;

void InitModel();
void RebuildTree();
void BumpFrequency(unsigned symbol);
