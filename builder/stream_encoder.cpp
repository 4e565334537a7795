#include "builder/stream_encoder.h"

#include "builder/bit_writer.h"
#include "builder/parse_prices.h"
#include "payload/huffman_model.h"

#include <algorithm>

namespace {

enum : uint32_t {
  // The optimal parse looks this far ahead with one set of code lengths, then codes what
  // it chose and looks again with the lengths the model has come to.
  CHUNK_LENGTH = 1024,
  // A match of the longest length is taken at once: a cheaper path around it is rare, and
  // runs of one byte would otherwise cost a full window of prices per match.
  TAKE_AT_ONCE = MAX_MATCH,
  NO_COST = 0xFFFFFFFFu,
  // Refining passes: the second pass still gains a little, later ones hardly ever.
  OPTIMAL_PASSES = 2,
  BEST_PASSES = 8
};

struct EncoderState {
  BitWriter writer;
  EncodedStream *out;
};

void PutSymbol(BitWriter *writer, unsigned symbol) {
  // The code is the path from the root; the walk from the leaf finds it backwards.
  uint8_t path[NODE_COUNT];
  unsigned depth = 0;
  for (unsigned node = nodeParent[symbol + NODE_COUNT]; node != ROOT_NODE;) {
    unsigned parent = nodeParent[node];
    path[depth++] = node != nodeChild[parent];
    node = parent;
  }
  while (depth > 0)
    PutBits(writer, path[--depth], 1);
  BumpFrequency(symbol);
}

void PutDistance(BitWriter *writer, unsigned distance) {
  unsigned upper = distance >> 6;
  PutBits(writer, distanceTables.codeOf[upper], distanceTables.lengthOf[upper]);
  PutBits(writer, distance & 0x3F, 6);
}

void StartStream(EncoderState *state, size_t size, EncodedStream *out) {
  state->out = out;
  out->bytes.clear();
  out->tokens.clear();
  out->tokenBits.clear();
  for (int k = 0; k < SIZE_FIELD_BYTES; ++k)
    PutBits(&state->writer, static_cast<uint32_t>(size >> (8 * k)) & 0xFF, 8);
  InitModel();
}

void EmitToken(EncoderState *state, const uint8_t *data, const Token &token) {
  state->out->tokens.push_back(token);
  state->out->tokenBits.push_back(BitCount(state->writer));
  if (token.length == 1) {
    PutSymbol(&state->writer, data[token.position]);
  } else {
    PutSymbol(&state->writer, token.length + 253u);
    PutDistance(&state->writer, token.distance);
  }
}

void FinishStream(EncoderState *state) {
  state->out->bitCount = BitCount(state->writer);
  FlushBits(&state->writer);
  state->out->bytes = std::move(state->writer.bytes);
}

// The cost in bits of every symbol if it were coded now: the depth of its leaf.
void CurrentSymbolCosts(uint32_t cost[SYMBOL_COUNT]) {
  for (unsigned s = 0; s < SYMBOL_COUNT; ++s) {
    uint32_t depth = 0;
    for (unsigned node = nodeParent[s + NODE_COUNT]; node != ROOT_NODE; node = nodeParent[node])
      ++depth;
    cost[s] = depth;
  }
}

uint32_t DistanceCost(unsigned distance) {
  return DistanceBits(distance);
}

struct BanList {
  const std::vector<ParseBan> *bans;
  std::vector<uint8_t> marked; // positions with any ban, to keep the common case cheap
};

void MarkBans(const std::vector<ParseBan> &bans, size_t size, BanList *list) {
  list->bans = &bans;
  list->marked.assign(bans.empty() ? 0 : size, 0);
  for (const ParseBan &ban : bans)
    if (ban.position < size)
      list->marked[ban.position] = 1;
}

inline bool Banned(const BanList &list, size_t pos, unsigned length) {
  if (list.marked.empty() || !list.marked[pos])
    return false;
  ParseBan key{static_cast<uint32_t>(pos), static_cast<uint16_t>(length)};
  return std::binary_search(list.bans->begin(), list.bans->end(), key);
}

void GreedyParse(const uint8_t *data, size_t size, const MatchTable &matches, const BanList &bans,
                 EncoderState *state) {
  size_t pos = 0;
  while (pos < size) {
    Token token{static_cast<uint32_t>(pos), 1, 0};
    for (unsigned length = LongestMatch(matches, pos); length >= MIN_MATCH; --length) {
      if (!Banned(bans, pos, length)) {
        token.length = static_cast<uint16_t>(length);
        token.distance = static_cast<uint16_t>(DistanceFor(matches, pos, length));
        break;
      }
    }
    EmitToken(state, data, token);
    pos += token.length;
  }
}

struct PathStep {
  uint16_t length; // of the token that reaches this position
  uint16_t distance;
};

void OptimalParse(const uint8_t *data, size_t size, const MatchTable &matches, const BanList &bans,
                  EncoderState *state) {
  uint32_t symbolCost[SYMBOL_COUNT];
  uint32_t distanceCost[64];
  for (unsigned upper = 0; upper < 64; ++upper)
    distanceCost[upper] = DistanceCost(upper << 6);
  std::vector<uint32_t> cost(CHUNK_LENGTH + MAX_MATCH + 1);
  std::vector<PathStep> step(CHUNK_LENGTH + MAX_MATCH + 1);
  std::vector<Token> chosen;

  size_t pos = 0;
  while (pos < size) {
    CurrentSymbolCosts(symbolCost);
    const size_t target = std::min<size_t>(size, pos + CHUNK_LENGTH);
    const size_t end = std::min<size_t>(size, target + MAX_MATCH);
    std::fill(cost.begin(), cost.begin() + (end - pos + 1), NO_COST);
    cost[0] = 0;

    size_t goal = end;
    Token atOnce{0, 0, 0};
    for (size_t p = pos; p < end; ++p) {
      const uint32_t here = cost[p - pos];
      if (here == NO_COST)
        continue;
      const unsigned longest = LongestMatch(matches, p);
      if (longest >= TAKE_AT_ONCE && !Banned(bans, p, longest)) {
        goal = p;
        atOnce = {static_cast<uint32_t>(p), static_cast<uint16_t>(longest),
                  static_cast<uint16_t>(DistanceFor(matches, p, longest))};
        break;
      }
      if (!Banned(bans, p, 1)) {
        uint32_t c = here + symbolCost[data[p]];
        if (c < cost[p + 1 - pos]) {
          cost[p + 1 - pos] = c;
          step[p + 1 - pos] = {1, 0};
        }
      }
      unsigned length = MIN_MATCH;
      const unsigned reach = static_cast<unsigned>(std::min<size_t>(MAX_MATCH, end - p));
      for (uint32_t m = matches.first[p]; m < matches.first[p + 1] && length <= reach; ++m) {
        const MatchCandidate candidate = matches.matches[m];
        const uint32_t base = here + distanceCost[candidate.distance >> 6];
        const unsigned last = std::min<unsigned>(candidate.length, reach);
        for (; length <= last; ++length) {
          uint32_t c = base + symbolCost[length + 253];
          if (c < cost[p + length - pos] && !Banned(bans, p, length)) {
            cost[p + length - pos] = c;
            step[p + length - pos] = {static_cast<uint16_t>(length), candidate.distance};
          }
        }
      }
    }
    // Bans may cut the path to the end of the window; then go as far as it reaches.
    while (goal > pos && cost[goal - pos] == NO_COST)
      --goal;

    chosen.clear();
    for (size_t p = goal; p > pos;) {
      const PathStep s = step[p - pos];
      p -= s.length;
      chosen.push_back({static_cast<uint32_t>(p), s.length, s.distance});
    }
    std::reverse(chosen.begin(), chosen.end());
    // Tokens past the window proper are chosen again with fresher code lengths, unless
    // this is the end of the input or a long match closes the window.
    const bool commitAll = goal == size || atOnce.length != 0;
    for (const Token &token : chosen) {
      if (!commitAll && token.position >= target)
        break;
      EmitToken(state, data, token);
      pos = token.position + token.length;
    }
    if (atOnce.length != 0) {
      EmitToken(state, data, atOnce);
      pos = atOnce.position + atOnce.length;
    } else if (chosen.empty()) {
      // Only bans that leave a position no choice get here; the literal keeps the parse
      // going, and the caller's check of the result sees what became of the ban.
      EmitToken(state, data, Token{static_cast<uint32_t>(pos), 1, 0});
      ++pos;
    }
  }
}

// Cheapest path through the whole input under the given prices. Unlike the chunked parse
// it needs no window: the prices already say what the model will be.
void PricedParse(const uint8_t *data, size_t size, const MatchTable &matches, const BanList &bans,
                 const std::vector<PriceSegment> &prices, std::vector<Token> *tokens) {
  const uint64_t unreached = ~uint64_t{0};
  uint32_t distanceCost[64];
  for (unsigned upper = 0; upper < 64; ++upper)
    distanceCost[upper] = DistanceBits(upper << 6) * PRICE_SCALE;
  std::vector<uint64_t> cost(size + 1, unreached);
  std::vector<PathStep> step(size + 1);
  cost[0] = 0;
  size_t nextSegment = 0;
  const uint32_t *symbolCost = prices[0].cost;
  for (size_t p = 0; p < size; ++p) {
    while (nextSegment < prices.size() && prices[nextSegment].start <= p)
      symbolCost = prices[nextSegment++].cost;
    const uint64_t here = cost[p];
    if (here == unreached)
      continue;
    if (!Banned(bans, p, 1) && here + symbolCost[data[p]] < cost[p + 1]) {
      cost[p + 1] = here + symbolCost[data[p]];
      step[p + 1] = {1, 0};
    }
    unsigned length = MIN_MATCH;
    for (uint32_t m = matches.first[p]; m < matches.first[p + 1]; ++m) {
      const MatchCandidate candidate = matches.matches[m];
      const uint64_t base = here + distanceCost[candidate.distance >> 6];
      for (; length <= candidate.length; ++length) {
        const uint64_t c = base + symbolCost[length + 253];
        if (c < cost[p + length] && !Banned(bans, p, length)) {
          cost[p + length] = c;
          step[p + length] = {static_cast<uint16_t>(length), candidate.distance};
        }
      }
    }
  }
  // Every position keeps a choice and none runs past the end, so the end is reached.
  tokens->clear();
  for (size_t p = size; p > 0;) {
    const PathStep s = step[p];
    p -= s.length;
    tokens->push_back({static_cast<uint32_t>(p), s.length, s.distance});
  }
  std::reverse(tokens->begin(), tokens->end());
}

// Parses again and again, each pass priced by coding the one before it, and keeps the
// parse that codes smallest: never larger than the starting parse.
void Refine(const uint8_t *data, size_t size, const MatchTable &matches, const BanList &bans,
            unsigned passes, std::vector<Token> *best, uint64_t *bestBits) {
  std::vector<PriceSegment> prices;
  const uint64_t startBits = MeasureParse(data, *best, &prices);
  if (startBits < *bestBits)
    *bestBits = startBits;
  std::vector<Token> candidate;
  for (unsigned pass = 0; pass < passes; ++pass) {
    PricedParse(data, size, matches, bans, prices, &candidate);
    const uint64_t bits = MeasureParse(data, candidate, &prices);
    if (bits < *bestBits) {
      *bestBits = bits;
      *best = candidate;
    }
  }
}

std::vector<Token> ParseTokens(const uint8_t *data, size_t size, const MatchTable &matches,
                               const BanList &bans, ParseMode mode) {
  EncodedStream scratch;
  EncoderState state;
  StartStream(&state, size, &scratch);
  if (mode == PARSE_GREEDY)
    GreedyParse(data, size, matches, bans, &state);
  else
    OptimalParse(data, size, matches, bans, &state);
  return scratch.tokens;
}

void RefinedParse(const uint8_t *data, size_t size, const MatchTable &matches, const BanList &bans,
                  ParseMode mode, EncoderState *state) {
  std::vector<Token> best = ParseTokens(data, size, matches, bans, PARSE_CHUNKED);
  uint64_t bestBits = ~uint64_t{0};
  Refine(data, size, matches, bans, mode == PARSE_BEST ? BEST_PASSES : OPTIMAL_PASSES, &best,
         &bestBits);
  if (mode == PARSE_BEST) {
    // Another start may end in another fixed point of the pricing.
    std::vector<Token> other = ParseTokens(data, size, matches, bans, PARSE_GREEDY);
    uint64_t otherBits = bestBits;
    Refine(data, size, matches, bans, BEST_PASSES, &other, &otherBits);
    if (otherBits < bestBits) {
      bestBits = otherBits;
      best.swap(other);
    }
  }
  InitModel();
  for (const Token &token : best)
    EmitToken(state, data, token);
}

} // namespace

unsigned DistanceFor(const MatchTable &matches, size_t pos, unsigned length) {
  for (uint32_t m = matches.first[pos]; m < matches.first[pos + 1]; ++m)
    if (matches.matches[m].length >= length)
      return matches.matches[m].distance;
  return 0;
}

unsigned AllowedChoices(const MatchTable &matches, size_t pos, const std::vector<ParseBan> &bans) {
  auto allowed = [&](unsigned length) {
    ParseBan key{static_cast<uint32_t>(pos), static_cast<uint16_t>(length)};
    return !std::binary_search(bans.begin(), bans.end(), key);
  };
  unsigned count = allowed(1) ? 1 : 0;
  for (unsigned length = MIN_MATCH; length <= LongestMatch(matches, pos); ++length)
    count += allowed(length) ? 1 : 0;
  return count;
}

void EncodeStream(const uint8_t *data, size_t size, const MatchTable &matches, ParseMode mode,
                  const std::vector<ParseBan> &bans, EncodedStream *out) {
  EncoderState state;
  StartStream(&state, size, out);
  BanList banList;
  MarkBans(bans, size, &banList);
  if (mode == PARSE_GREEDY)
    GreedyParse(data, size, matches, banList, &state);
  else if (mode == PARSE_CHUNKED)
    OptimalParse(data, size, matches, banList, &state);
  else
    RefinedParse(data, size, matches, banList, mode, &state);
  FinishStream(&state);
}

void EncodeTokens(const uint8_t *data, size_t size, const std::vector<Token> &tokens,
                  EncodedStream *out) {
  EncoderState state;
  StartStream(&state, size, out);
  for (const Token &token : tokens)
    EmitToken(&state, data, token);
  FinishStream(&state);
}
