// Finds, for every position of an input, the matches the stream format can use: sources
// within the last 4036 bytes (the spaces the decoder's ring starts with count as bytes
// before the input), lengths 3 to 60, never past the input's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct MatchCandidate {
  uint16_t length;   // the longest length this distance reaches
  uint16_t distance; // 0 to 4035: the copy starts distance + 1 bytes back
};

// For position p, matches[first[p] .. first[p + 1]) in increasing length and distance:
// each entry is the nearest distance found for every length above the previous entry's.
struct MatchTable {
  std::vector<uint32_t> first;
  std::vector<MatchCandidate> matches;
};

// Bounded binary-tree search: at most `depth` nodes are visited per position, so long
// runs of one byte cost no more than any other input.
void FindMatches(const uint8_t *data, size_t size, unsigned depth, MatchTable *table);

enum { DEFAULT_SEARCH_DEPTH = 48 };

inline unsigned LongestMatch(const MatchTable &table, size_t pos) {
  uint32_t end = table.first[pos + 1];
  return end > table.first[pos] ? table.matches[end - 1].length : 0;
}
