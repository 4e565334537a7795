#include "builder/clean_stream.h"

#include "payload/marker.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

long FindMarkerConflict(const std::vector<uint8_t> &stream, const unsigned char *marker) {
  const size_t size = stream.size();
  for (size_t i = 0; i + MARKER_LENGTH <= size; ++i)
    if (stream[i] == marker[0] && std::memcmp(&stream[i], marker, MARKER_LENGTH) == 0)
      return static_cast<long>(i);
  for (size_t held = MARKER_LENGTH - 1; held >= 1; --held)
    if (size >= held && std::memcmp(&stream[size - held], marker, held) == 0)
      return static_cast<long>(size - held);
  return -1;
}

// The token whose bits include the given bit, or the first one for the size field.
static size_t TokenAtBit(const EncodedStream &stream, uint64_t bit) {
  auto after = std::upper_bound(stream.tokenBits.begin(), stream.tokenBits.end(), bit);
  return after == stream.tokenBits.begin() ? 0 : (after - stream.tokenBits.begin()) - 1;
}

bool CompressClean(const uint8_t *data, size_t size, const unsigned char *marker, ParseMode mode,
                   EncodedStream *out, unsigned *attempts, std::string *error) {
  if (size == 0 || size > 0xFFFFFFFFu) {
    *error = size == 0 ? "it is empty" : "it is larger than 4 GiB";
    return false;
  }
  MatchTable matches;
  FindMatches(data, size, DEFAULT_SEARCH_DEPTH, &matches);
  std::vector<ParseBan> bans;
  for (unsigned attempt = 1; attempt <= CLEAN_ATTEMPTS; ++attempt) {
    *attempts = attempt;
    EncodeStream(data, size, matches, mode, bans, out);
    long conflict = FindMarkerConflict(out->bytes, marker);
    if (conflict < 0)
      return true;
    // Changing a token changes every bit from its start on; walk back to the nearest
    // token that can be made differently.
    size_t t = TokenAtBit(*out, 8 * static_cast<uint64_t>(conflict));
    for (;;) {
      const Token &token = out->tokens[t];
      if (AllowedChoices(matches, token.position, bans) >= 2) {
        ParseBan ban{token.position, token.length};
        bans.insert(std::upper_bound(bans.begin(), bans.end(), ban), ban);
        break;
      }
      if (t == 0) {
        char text[120];
        std::snprintf(text, sizeof text,
                      "its stream holds the marker at byte %ld and no parse avoids it", conflict);
        *error = text;
        return false;
      }
      --t;
    }
  }
  char text[120];
  std::snprintf(text, sizeof text, "no stream without the marker after %d attempts",
                CLEAN_ATTEMPTS);
  *error = text;
  return false;
}
