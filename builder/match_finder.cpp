#include "builder/match_finder.h"

#include "payload/huffman_model.h"

#include <algorithm>
#include <cstring>

namespace {

enum : uint32_t {
  NO_NODE = 0xFFFFFFFFu,
  WINDOW_MASK = RING_SIZE - 1,
  HASH_BITS = 16,
  // Spaces in front of the input stand for the decoder's pre-filled ring. Sixty of them
  // are enough: a source farther back reads the same sixty spaces at a larger distance.
  PREFILL = MAX_MATCH
};

inline uint32_t HashOf(const uint8_t *p) {
  uint32_t key = p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
  return (key * 2654435761u) >> (32 - HASH_BITS);
}

} // namespace

void FindMatches(const uint8_t *data, size_t size, unsigned depth, MatchTable *table) {
  std::vector<uint8_t> text(PREFILL + size, ' ');
  if (size > 0)
    std::memcpy(text.data() + PREFILL, data, size);
  const size_t textSize = text.size();

  // Binary search tree of the window's suffixes, one tree per hash of their first three
  // bytes; the newest position is always the root, so a search meets nearer sources first.
  std::vector<uint32_t> smaller(RING_SIZE, NO_NODE), larger(RING_SIZE, NO_NODE);
  std::vector<uint32_t> head(1u << HASH_BITS, NO_NODE);

  table->first.assign(size + 1, 0);
  table->matches.clear();
  table->matches.reserve(size);

  for (size_t q = 0; q < textSize; ++q) {
    if (q >= PREFILL)
      table->first[q - PREFILL] = static_cast<uint32_t>(table->matches.size());
    const unsigned limit = static_cast<unsigned>(std::min<size_t>(MAX_MATCH, textSize - q));
    if (limit < MIN_MATCH)
      continue;
    const uint8_t *here = text.data() + q;
    const uint32_t hash = HashOf(here);
    uint32_t candidate = head[hash];
    head[hash] = static_cast<uint32_t>(q);

    uint32_t *smallerSlot = &smaller[q & WINDOW_MASK];
    uint32_t *largerSlot = &larger[q & WINDOW_MASK];
    unsigned smallerLength = 0, largerLength = 0, best = MIN_MATCH - 1;
    const size_t oldest = q > MAX_DISTANCE + 1 ? q - MAX_DISTANCE - 1 : 0;
    unsigned budget = depth;

    for (;;) {
      if (candidate == NO_NODE || candidate < oldest || budget-- == 0) {
        *smallerSlot = *largerSlot = NO_NODE;
        break;
      }
      const uint8_t *there = text.data() + candidate;
      unsigned length = std::min(smallerLength, largerLength);
      while (length < limit && there[length] == here[length])
        ++length;
      if (length > best) {
        best = length;
        if (q >= PREFILL)
          table->matches.push_back(
              {static_cast<uint16_t>(length), static_cast<uint16_t>(q - candidate - 1)});
      }
      const uint32_t slot = candidate & WINDOW_MASK;
      if (length == limit) {
        // The new position replaces an identical one, keeping the tree's depth bounded.
        *smallerSlot = smaller[slot];
        *largerSlot = larger[slot];
        break;
      }
      if (there[length] < here[length]) {
        *smallerSlot = candidate;
        smallerSlot = &larger[slot];
        candidate = *smallerSlot;
        smallerLength = length;
      } else {
        *largerSlot = candidate;
        largerSlot = &smaller[slot];
        candidate = *largerSlot;
        largerLength = length;
      }
    }
  }
  table->first[size] = static_cast<uint32_t>(table->matches.size());
}
