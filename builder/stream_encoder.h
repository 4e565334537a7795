// The encoder of one stored stream: a parse of the input into literals and matches, coded
// with the decoder's own adaptive model and distance code.
#pragma once

#include "builder/match_finder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

enum ParseMode {
  PARSE_GREEDY,  // the longest match at every position: the baseline
  PARSE_CHUNKED, // cheapest path under the model's current code lengths, a window at a time
  PARSE_OPTIMAL, // the chunked parse refined with prices of the model as it will stand
  PARSE_BEST     // slower: more refining passes, from more starting parses
};

struct Token {
  uint32_t position; // where in the input the token starts
  uint16_t length;   // 1 for a literal, 3 to 60 for a match
  uint16_t distance; // matches only
};

// Forbids one choice at one position: the literal (length 1) or the match of that length.
struct ParseBan {
  uint32_t position;
  uint16_t length;
};

inline bool operator<(const ParseBan &a, const ParseBan &b) {
  return a.position != b.position ? a.position < b.position : a.length < b.length;
}

struct EncodedStream {
  std::vector<uint8_t> bytes; // the size field, then the bit stream
  std::vector<Token> tokens;
  std::vector<uint64_t> tokenBits; // offset in bits from the start of bytes of each token
  uint64_t bitCount = 0;           // the size field's 32 bits and the code bits, no padding
};

enum { SIZE_FIELD_BYTES = 4 };

// Encodes data[0 .. size) (size 1 to 2^32 - 1) with the matches found for it. `bans`
// must be sorted; a ban leaves every position at least one allowed choice (see
// AllowedChoices). Resets and leaves behind the shared model.
void EncodeStream(const uint8_t *data, size_t size, const MatchTable &matches, ParseMode mode,
                  const std::vector<ParseBan> &bans, EncodedStream *out);

// Codes a given parse: the tokens must cover data[0 .. size) in order.
void EncodeTokens(const uint8_t *data, size_t size, const std::vector<Token> &tokens,
                  EncodedStream *out);

// How many choices the parse has at position pos without the banned ones.
unsigned AllowedChoices(const MatchTable &matches, size_t pos, const std::vector<ParseBan> &bans);

// Distance of the nearest match of the given length at pos (the length must be available).
unsigned DistanceFor(const MatchTable &matches, size_t pos, unsigned length);
